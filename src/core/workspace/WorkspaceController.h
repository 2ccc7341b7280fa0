#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/foundation/Clock.h"
#include "core/foundation/FilledByName.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"
#include "core/model/DockPreferences.h"
#include "core/model/PinnedStore.h"
#include "core/platform/Alerts.h"
#include "core/platform/RunningApps.h"
#include "core/platform/Screens.h"
#include "core/shortcuts/HotKeyTargets.h"
#include "core/tiles/WorkspaceMembers.h"
#include "core/windows/WindowEngine.h"

namespace quillbern {

// What a display's overlay draws while an application tile is dragged over the desktop.
struct WorkspacePreview {
    // Ghost cells in cell order, screen space.
    std::vector<RectBL> frames;
    std::optional<std::size_t> highlighted;
    std::optional<std::string> notice;
    bool operator==(const WorkspacePreview&) const = default;
};

// The drop-to-tile workspace: applications whose dock tiles were dropped on the desktop
// tile one display with one window each, in the order they joined. Nothing about it is
// stored: whether it shows is read from the member applications each time, so hiding or
// showing one by other means changes it too, and members come and go with their
// applications' windows and processes as the snapshots tell. Windows move only through the
// window worker. Hides and shows take effect some time after they are asked for, so a show
// waits for the applications to settle before it tiles, with at most one such wait pending.
// Main thread.
class WorkspaceController final : public WorkspaceToggle, public WorkspaceMembers {
public:
    // Between the checks of a show that waits for the applications to come back.
    static constexpr Duration kSettleInterval = 0.35;
    static constexpr int kSettleAttempts = 3;
    // A member whose application has not started this long after it joined is dropped.
    static constexpr Duration kLaunchGrace = 20.0;

    struct Ports {
        [[no_unique_address]] FilledByName<Ports> byName{};
        RunningApps& apps;
        Screens& screens;
        Alerts& alerts;
        const Clock& clock;
        RunLoop& mainLoop;
    };

    struct Member {
        AppId bundleID;
        // The one window of the application that the workspace tiles.
        std::optional<WindowId> windowID;
        // A window was recorded for it once; never false again.
        bool hasArrived = false;
        MediaTime addedAt;
        bool operator==(const Member&) const = default;
    };

    WorkspaceController(Ports ports, WindowEngine& engine, PinnedStore& pinned, const DockPreferences& preferences);
    WorkspaceController(const WorkspaceController&) = delete;
    WorkspaceController& operator=(const WorkspaceController&) = delete;

    // In layout order.
    const std::vector<Member>& members() const { return members_; }
    bool isMember(std::string_view bundleID) const override;
    // The display the workspace tiles; none while it is empty.
    std::optional<DisplayId> displayID() const { return displayID_; }
    // Every regular process of every member is hidden, and there is at least one.
    bool isHidden() const;
    // On every change of the members, their windows included.
    Signal<> membersChanged;

    // Hides every member application, or shows them and tiles them again once they are
    // back; a member in full screen is brought back into its cell instead of hiding.
    void toggle() override;
    bool hasMembers() const override { return !members_.empty(); }
    // From the window engine's fan-out; the engine's snapshot is read, not the argument.
    void snapshotChanged(const WindowSnapshot& snapshot);
    // The application stays as it is; the rest close the gap.
    void remove(const std::string& bundleID) override;

    // A dragged application tile was released over the desktop of this display.
    void drop(const std::string& bundleID, DisplayId displayID, PointBL point);
    // What this display's overlay shows while the tile is dragged; none: nothing. Changes nothing.
    std::optional<WorkspacePreview> dragPreview(const std::string& bundleID, DisplayId displayID,
                                                const RectBL& visibleFrame, bool cursorOnThisDisplay,
                                                PointBL point) const;
    // The member whose cell holds the point.
    std::optional<std::size_t> cellMemberIndex(PointBL point) const;

private:
    void retile(const std::optional<AppId>& raising);
    void resolveWindows();
    void prune();
    void unhideAll();
    void unhide(const AppId& bundleID);
    void scheduleAfterUnhide(int attempts, Task action);
    void performDrop(const AppId& bundleID, DisplayId displayID, PointBL point);
    // Swaps the member with the one whose cell holds the point, then tiles with it raised.
    void moveTo(const AppId& bundleID, PointBL point);
    void appendMember(const AppId& bundleID, DisplayId displayID);
    // A full workspace takes no new application: a beep, then its window comes forward.
    void refuse(const AppId& bundleID);
    void launch(const AppId& bundleID);
    void setMembers(std::vector<Member> members);

    std::vector<RunningApp> regularApps(const AppId& bundleID) const;
    std::vector<WindowInfo> memberWindows(const AppId& bundleID) const;
    bool isMemberHidden(const AppId& bundleID) const;
    bool anyMemberVisible(const std::optional<AppId>& excluding) const;
    std::vector<std::size_t> placedIndices() const;
    std::optional<AppId> fullscreenMember() const;
    std::optional<ScreenInfo> effectiveScreen() const;
    std::optional<std::size_t> indexOf(std::string_view bundleID) const;
    bool isFull() const;

    Ports ports_;
    WindowEngine& engine_;
    PinnedStore& pinned_;
    const DockPreferences& preferences_;
    std::vector<Member> members_;
    std::optional<DisplayId> displayID_;
    Timer settle_;
};

// The window to tile of an application's windows in snapshot order: the focused one, else
// its main one that is not minimised, else the first not minimised, else the first.
std::optional<WindowInfo> pickWindow(const std::vector<WindowInfo>& windows);

}  // namespace quillbern
