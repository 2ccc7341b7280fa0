#pragma once

#include <optional>

#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"
#include "core/settings/SettingsSection.h"
#include "core/settings/SettingsServices.h"

namespace quillbern {

// What the Settings window's shell decides: the section shown, which is never none, Help
// when the program asks for it, and, while the window is on screen, the login item's
// status and the capture grant read again every second, so the panes that show them follow
// changes made in the desktop's own settings. Main thread.
class SettingsShellModel {
public:
    static constexpr Duration kRefreshInterval = 1.0;

    explicit SettingsShellModel(const SettingsServices& services);
    SettingsShellModel(const SettingsShellModel&) = delete;
    SettingsShellModel& operator=(const SettingsShellModel&) = delete;

    SettingsSection section() const { return section_; }
    // A row of the sidebar was chosen; none, a request to select nothing, keeps the section.
    void select(std::optional<SettingsSection> section);
    // Told only when the section really changes.
    Signal<> sectionChanged;

    // The window came on screen: one refresh at once, then one a second until it leaves.
    void appeared();
    void disappeared();
    bool isOnScreen() const { return refreshTimer_.has_value(); }

private:
    void refresh();

    LoginItem& loginItem_;
    PreviewStore& previews_;
    RunLoop& mainLoop_;
    SettingsSection section_ = SettingsSection::general;
    std::optional<Timer> refreshTimer_;
    Subscription helpRequests_;
};

}  // namespace quillbern
