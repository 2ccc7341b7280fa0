#pragma once

#include <QWidget>

#include "core/foundation/Subscription.h"
#include "core/settings/PreviewsPaneModel.h"

class QPushButton;

namespace quillbern {

class SettingsRow;
class SettingsSwitch;

// The Hover previews pane: the previews switch and, while previews are on without capture
// access, a warning with a button that asks for it. Follows its model in place.
class PreviewsPane final : public QWidget {
public:
    explicit PreviewsPane(PreviewStore& previews, QWidget* parent = nullptr);
    ~PreviewsPane() override;

    SettingsSwitch& toggle() const { return *toggle_; }
    SettingsRow& warning() const { return *warning_; }
    QPushButton& allow() const { return *allow_; }

private:
    void sync();

    PreviewsPaneModel model_;
    SettingsSwitch* toggle_;
    SettingsRow* warning_;
    QPushButton* allow_;
    Subscription modelChanged_;
};

}  // namespace quillbern
