#pragma once

#include <memory>
#include <optional>

#include "core/settings/SettingsServices.h"
#include "core/shell/ShellParts.h"
#include "ui/shell/ShellWindowContext.h"

class QWidget;

namespace quillbern {

class SettingsView;

// The Settings window: made on the first request and kept for the whole run; closing it
// only hides it, so it opens again as it was left, on the display under the pointer.
class QtSettingsWindow final : public SettingsWindow {
public:
    QtSettingsWindow(ShellWindowContext context, const SettingsServices& services);
    ~QtSettingsWindow() override;

    void open() override;

    // Null before the first request.
    QWidget* window() const { return window_.get(); }
    SettingsView* view() const { return view_; }

private:
    void make();
    // On the display under the pointer; `left` is the frame a hidden window was left with.
    void place(const std::optional<RectBL>& left);

    ShellWindowContext context_;
    SettingsServices services_;
    std::unique_ptr<QWidget> window_;
    SettingsView* view_ = nullptr;
};

}  // namespace quillbern
