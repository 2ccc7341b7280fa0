#pragma once

#include <QWidget>

#include "core/settings/AutomationCardModel.h"

class QLabel;

namespace quillbern {

class SymbolButton;

// The body of a dock's "Automation" card: the URL that toggles the dock, shortened in the
// middle when narrow, its copy button, and how to use it.
class AutomationCard final : public QWidget {
public:
    AutomationCard(Clipboard& clipboard, RunLoop& mainLoop, Uuid profileID, QWidget* parent = nullptr);

    AutomationCardModel& model() { return model_; }
    void setProfile(const Uuid& profileID) { model_.setProfile(profileID); }
    QLabel& url() const { return *url_; }
    SymbolButton& copyButton() const { return *copy_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void refresh();

    AutomationCardModel model_;
    QLabel* url_;
    SymbolButton* copy_;
    Subscription changed_;
};

}  // namespace quillbern
