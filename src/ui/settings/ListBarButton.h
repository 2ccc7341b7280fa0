#pragma once

#include <string>
#include <string_view>

#include "ui/settings/SettingsIconButton.h"

namespace quillbern {

// A small icon button of the bar under a list (add, remove): 28 × 24, plated under the
// pointer, red then when destructive. Its surroundings enable and disable it; disabled it
// is dimmed and never red or plated.
class ListBarButton final : public SettingsIconButton {
public:
    ListBarButton(std::string_view systemName, bool isDestructive, const QString& help, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {28, 24}; }
    bool isDestructive() const { return isDestructive_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string systemName_;
    bool isDestructive_;
};

}  // namespace quillbern
