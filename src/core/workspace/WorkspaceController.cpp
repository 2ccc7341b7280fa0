#include "core/workspace/WorkspaceController.h"

#include <algorithm>
#include <set>
#include <utility>

#include "core/foundation/Localization.h"
#include "core/platform/ScreenGeometry.h"
#include "core/tiles/WindowMenuItems.h"
#include "core/workspace/WorkspaceGrid.h"

namespace quillbern {

std::optional<WindowInfo> pickWindow(const std::vector<WindowInfo>& windows) {
    const auto first = [&windows](auto predicate) -> std::optional<WindowInfo> {
        const auto found = std::ranges::find_if(windows, predicate);
        return found == windows.end() ? std::nullopt : std::optional(*found);
    };
    if (auto focused = first([](const WindowInfo& w) { return w.isFocused; })) return focused;
    if (auto main = first([](const WindowInfo& w) { return w.isAppMain && !w.isMinimized; })) return main;
    if (auto shown = first([](const WindowInfo& w) { return !w.isMinimized; })) return shown;
    return windows.empty() ? std::nullopt : std::optional(windows.front());
}

WorkspaceController::WorkspaceController(Ports ports, WindowEngine& engine, PinnedStore& pinned,
                                         const DockPreferences& preferences)
    : ports_(ports), engine_(engine), pinned_(pinned), preferences_(preferences) {}

bool WorkspaceController::isMember(std::string_view bundleID) const {
    return indexOf(bundleID).has_value();
}

std::optional<std::size_t> WorkspaceController::indexOf(std::string_view bundleID) const {
    const auto found = std::ranges::find(members_, bundleID, &Member::bundleID);
    return found == members_.end() ? std::nullopt : std::optional(std::size_t(found - members_.begin()));
}

std::vector<RunningApp> WorkspaceController::regularApps(const AppId& bundleID) const {
    std::vector<RunningApp> regular;
    for (const Pid pid : pinned_.pids(bundleID)) {
        if (auto app = ports_.apps.app(pid); app && app->policy == ActivationPolicy::regular)
            regular.push_back(std::move(*app));
    }
    return regular;
}

std::vector<WindowInfo> WorkspaceController::memberWindows(const AppId& bundleID) const {
    const std::set<Pid> pids = pinned_.pids(bundleID);
    std::vector<WindowInfo> windows;
    for (const WindowInfo& window : engine_.snapshot().windows) {
        if (pids.contains(window.pid)) windows.push_back(window);
    }
    return windows;
}

bool WorkspaceController::isMemberHidden(const AppId& bundleID) const {
    const std::vector<RunningApp> regular = regularApps(bundleID);
    return !regular.empty() && std::ranges::all_of(regular, &RunningApp::isHidden);
}

bool WorkspaceController::isHidden() const {
    bool any = false;
    for (const Member& member : members_) {
        for (const RunningApp& app : regularApps(member.bundleID)) {
            if (!app.isHidden) return false;
            any = true;
        }
    }
    return any;
}

bool WorkspaceController::anyMemberVisible(const std::optional<AppId>& excluding) const {
    return std::ranges::any_of(members_, [&](const Member& member) {
        if (member.bundleID == excluding) return false;
        const std::vector<RunningApp> regular = regularApps(member.bundleID);
        if (std::ranges::all_of(regular, &RunningApp::isHidden)) return false;
        const std::vector<WindowInfo> windows = memberWindows(member.bundleID);
        // Native full screen is a space of its own: the workspace does not show there.
        return windows.empty() || std::ranges::any_of(windows, [](const WindowInfo& w) { return !w.isFullscreen; });
    });
}

std::vector<std::size_t> WorkspaceController::placedIndices() const {
    std::vector<std::size_t> placed;
    for (std::size_t i = 0; i < members_.size(); ++i) {
        if (members_[i].windowID && !isMemberHidden(members_[i].bundleID)) placed.push_back(i);
    }
    return placed;
}

std::optional<AppId> WorkspaceController::fullscreenMember() const {
    const std::vector<WindowInfo>& windows = engine_.snapshot().windows;
    for (const Member& member : members_) {
        if (!member.windowID) continue;
        const auto window = std::ranges::find(windows, *member.windowID, &WindowInfo::id);
        if (window != windows.end() && window->isFullscreen && window->isOnScreen) return member.bundleID;
    }
    return std::nullopt;
}

std::optional<ScreenInfo> WorkspaceController::effectiveScreen() const {
    const std::vector<ScreenInfo> screens = ports_.screens.screens();
    if (displayID_) {
        const auto own = std::ranges::find(screens, displayID_, &ScreenInfo::id);
        if (own != screens.end()) return *own;
    }
    if (auto main = ports_.screens.mainScreen()) return main;
    return screens.empty() ? std::nullopt : std::optional(screens.front());
}

bool WorkspaceController::isFull() const {
    return std::int64_t(members_.size()) >= preferences_.workspaceMaxApps();
}

void WorkspaceController::setMembers(std::vector<Member> members) {
    if (members == members_) return;
    members_ = std::move(members);
    membersChanged.emit();
}

void WorkspaceController::retile(const std::optional<AppId>& raising) {
    const std::optional<ScreenInfo> screen = effectiveScreen();
    if (!screen) return;
    resolveWindows();
    const std::vector<std::size_t> placed = placedIndices();
    if (placed.empty()) return;
    displayID_ = screen->id;

    const std::vector<RectBL> cells = WorkspaceGrid::frames(int(placed.size()), screen->visibleFrame);
    const double flip = flipHeight(ports_.screens.screens());
    const std::vector<WindowInfo>& windows = engine_.snapshot().windows;
    std::vector<std::pair<WindowInfo, RectTL>> others;
    std::vector<std::pair<WindowInfo, RectTL>> raised;
    for (std::size_t k = 0; k < placed.size(); ++k) {
        const auto window = std::ranges::find(windows, members_[placed[k]].windowID, &WindowInfo::id);
        if (window == windows.end()) continue;
        // A visible frame too small for the margins: the window stays where it is rather
        // than being asked for a size it cannot have.
        if (cells[k].width <= 0 || cells[k].height <= 0) continue;
        const auto owner = pinned_.ownerBundleIDByPID().find(window->pid);
        const bool isRaised = raising && owner != pinned_.ownerBundleIDByPID().end() && owner->second == *raising;
        (isRaised ? raised : others).emplace_back(*window, toTopLeft(cells[k], flip));
    }
    AXWorker* worker = engine_.worker();
    for (const auto& [window, frame] : others) {
        if (worker) worker->perform(WindowAction::place(frame, false), window);
    }
    // Last, so its application ends up in front.
    for (const auto& [window, frame] : raised) {
        if (worker) worker->perform(WindowAction::place(frame, true), window);
        if (engine_.onPlaceRequest) engine_.onPlaceRequest(window, frame);
    }
}

void WorkspaceController::resolveWindows() {
    std::vector<Member> members = members_;
    for (Member& member : members) {
        const std::vector<WindowInfo> windows = memberWindows(member.bundleID);
        if (member.windowID && std::ranges::find(windows, *member.windowID, &WindowInfo::id) != windows.end()) continue;
        const std::optional<WindowInfo> picked = pickWindow(windows);
        member.windowID = picked ? std::optional(picked->id) : std::nullopt;
        if (picked) member.hasArrived = true;
    }
    setMembers(std::move(members));
}

void WorkspaceController::prune() {
    const MediaTime now = ports_.clock.mediaNow();
    std::vector<Member> members = members_;
    std::erase_if(members, [&](const Member& member) {
        return pinned_.pids(member.bundleID).empty() && now - member.addedAt > kLaunchGrace;
    });
    setMembers(std::move(members));
    if (members_.empty()) displayID_.reset();
}

void WorkspaceController::snapshotChanged(const WindowSnapshot&) {
    expectOnLoop(ports_.mainLoop);
    if (members_.empty()) return;
    std::set<AppId> waiting;
    for (const Member& member : members_) {
        if (!member.hasArrived) waiting.insert(member.bundleID);
    }
    const std::size_t countBefore = members_.size();
    prune();
    resolveWindows();

    const auto arrived = std::ranges::find_if(
        members_, [&waiting](const Member& member) { return member.windowID && waiting.contains(member.bundleID); });
    if (arrived != members_.end()) {
        const AppId bundleID = arrived->bundleID;
        const bool othersRunning = std::ranges::any_of(members_, [&](const Member& member) {
            return member.bundleID != bundleID && pinned_.hasRegularProcess(member.bundleID);
        });
        // The rest of the workspace is hidden and stays so.
        if (othersRunning && !anyMemberVisible(bundleID)) return;
        retile(bundleID);
        return;
    }
    if (members_.size() != countBefore && anyMemberVisible(std::nullopt)) retile(std::nullopt);
}

void WorkspaceController::toggle() {
    expectOnLoop(ports_.mainLoop);
    if (members_.empty() || !engine_.isTrusted()) return;
    if (anyMemberVisible(std::nullopt)) {
        settle_.cancel();
        if (const std::optional<AppId> fullScreen = fullscreenMember()) {
            // Placing takes the window out of full screen, back into its cell.
            retile(*fullScreen);
            return;
        }
        for (const Member& member : members_) {
            for (const Pid pid : pinned_.pids(member.bundleID))
                ports_.apps.hide(pid);
        }
        return;
    }
    // A press while the last show settles.
    if (settle_.isPending()) return;
    unhideAll();
    scheduleAfterUnhide(kSettleAttempts, [this] {
        if (!anyMemberVisible(std::nullopt)) return;
        retile(members_.empty() ? std::nullopt : std::optional(members_.front().bundleID));
    });
}

void WorkspaceController::unhideAll() {
    for (const Member& member : members_)
        unhide(member.bundleID);
}

void WorkspaceController::unhide(const AppId& bundleID) {
    for (const Pid pid : pinned_.pids(bundleID))
        ports_.apps.unhide(pid);
}

void WorkspaceController::scheduleAfterUnhide(int attempts, Task action) {
    // The timer belongs to the controller, so it ends with it.
    settle_ = ports_.mainLoop.after(kSettleInterval, [this, attempts, action = std::move(action)] {
        const bool stillHidden = std::ranges::any_of(members_, [this](const Member& member) {
            const std::vector<RunningApp> regular = regularApps(member.bundleID);
            return !regular.empty() && std::ranges::all_of(regular, &RunningApp::isHidden);
        });
        if (attempts >= 2 && !members_.empty() && stillHidden) return scheduleAfterUnhide(attempts - 1, action);
        action();
    });
}

void WorkspaceController::remove(const std::string& bundleID) {
    expectOnLoop(ports_.mainLoop);
    const std::optional<std::size_t> index = indexOf(bundleID);
    if (!index) return;
    std::vector<Member> members = members_;
    members.erase(members.begin() + std::ptrdiff_t(*index));
    setMembers(std::move(members));
    if (members_.empty()) {
        displayID_.reset();
        settle_.cancel();
        return;
    }
    if (anyMemberVisible(std::nullopt)) retile(std::nullopt);
}

void WorkspaceController::drop(const std::string& bundleID, DisplayId displayID, PointBL point) {
    expectOnLoop(ports_.mainLoop);
    const bool isNew = !isMember(bundleID);
    if (isNew && isFull()) return refuse(bundleID);
    if (!isHidden()) {
        settle_.cancel();
        return performDrop(bundleID, displayID, point);
    }
    // Into a hidden workspace: all of it comes back.
    if (isNew) appendMember(bundleID, displayID);
    unhideAll();
    scheduleAfterUnhide(kSettleAttempts, [this, isNew, bundleID, displayID, point] {
        if (isNew) {
            retile(bundleID);
        } else {
            performDrop(bundleID, displayID, point);
        }
    });
}

void WorkspaceController::performDrop(const AppId& bundleID, DisplayId displayID, PointBL point) {
    if (isMember(bundleID)) {
        if (!isMemberHidden(bundleID)) return moveTo(bundleID, point);
        unhide(bundleID);
        scheduleAfterUnhide(kSettleAttempts, [this, bundleID, point] {
            if (isMember(bundleID)) moveTo(bundleID, point);
        });
        return;
    }
    if (isFull()) return refuse(bundleID);
    appendMember(bundleID, displayID);
    if (!isMemberHidden(bundleID)) return retile(bundleID);
    unhide(bundleID);
    scheduleAfterUnhide(kSettleAttempts, [this, bundleID] { retile(bundleID); });
}

void WorkspaceController::moveTo(const AppId& bundleID, PointBL point) {
    const std::size_t index = *indexOf(bundleID);
    const std::optional<std::size_t> target = cellMemberIndex(point);
    if (target && *target != index) {
        std::vector<Member> members = members_;
        std::swap(members[index], members[*target]);
        setMembers(std::move(members));
    }
    retile(bundleID);
}

void WorkspaceController::appendMember(const AppId& bundleID, DisplayId displayID) {
    // The first drop's display is the workspace's; later ones join it wherever they fall.
    if (members_.empty()) displayID_ = displayID;
    const std::optional<WindowInfo> window = pickWindow(memberWindows(bundleID));
    std::vector<Member> members = members_;
    members.push_back(
        {bundleID, window ? std::optional(window->id) : std::nullopt, window.has_value(), ports_.clock.mediaNow()});
    setMembers(std::move(members));
    // It waits for its first window, or is pruned when it never starts.
    if (!window) launch(bundleID);
}

void WorkspaceController::refuse(const AppId& bundleID) {
    ports_.alerts.beep();
    if (const std::optional<WindowInfo> window = pickWindow(memberWindows(bundleID))) {
        requestRaise(engine_, *window);
    } else {
        launch(bundleID);
    }
}

void WorkspaceController::launch(const AppId& bundleID) {
    for (const Profile& profile : pinned_.profiles()) {
        for (const PinnedApp& app : profile.allApps()) {
            if (app.bundleID == bundleID) return pinned_.launchOrActivate(app.bundleID, app.fallbackPath);
        }
    }
}

std::optional<std::size_t> WorkspaceController::cellMemberIndex(PointBL point) const {
    const std::optional<ScreenInfo> screen = effectiveScreen();
    if (!screen) return std::nullopt;
    const std::vector<std::size_t> placed = placedIndices();
    const std::vector<RectBL> cells = WorkspaceGrid::frames(int(placed.size()), screen->visibleFrame);
    for (std::size_t k = 0; k < cells.size(); ++k) {
        if (cells[k].contains(point)) return placed[k];
    }
    return std::nullopt;
}

std::optional<WorkspacePreview> WorkspaceController::dragPreview(const std::string& bundleID, DisplayId displayID,
                                                                 const RectBL& visibleFrame, bool cursorOnThisDisplay,
                                                                 PointBL point) const {
    // The first application previews on whichever display the pointer is over.
    if (members_.empty()) {
        if (!cursorOnThisDisplay) return std::nullopt;
        return WorkspacePreview{WorkspaceGrid::frames(1, visibleFrame), 0, std::nullopt};
    }
    const std::optional<ScreenInfo> screen = effectiveScreen();
    if (!screen || screen->id != displayID) return std::nullopt;

    const std::optional<std::size_t> dragged = indexOf(bundleID);
    std::vector<std::size_t> counted;
    if (isHidden()) {
        // The layout it will have when it shows again.
        for (std::size_t i = 0; i < members_.size(); ++i) {
            if (members_[i].windowID) counted.push_back(i);
        }
    } else {
        counted = placedIndices();
        if (dragged && members_[*dragged].windowID && std::ranges::find(counted, *dragged) == counted.end()) {
            counted.push_back(*dragged);
            std::ranges::sort(counted);
        }
    }

    WorkspacePreview preview;
    if (dragged) {
        preview.frames = WorkspaceGrid::frames(int(counted.size()), visibleFrame);
        const auto under =
            std::ranges::find_if(preview.frames, [point](const RectBL& cell) { return cell.contains(point); });
        if (under != preview.frames.end()) {
            preview.highlighted = std::size_t(under - preview.frames.begin());
        } else if (const auto own = std::ranges::find(counted, *dragged); own != counted.end()) {
            preview.highlighted = std::size_t(own - counted.begin());
        }
    } else if (!isFull()) {
        preview.frames = WorkspaceGrid::frames(int(counted.size()) + 1, visibleFrame);
        preview.highlighted = counted.size();
    } else {
        preview.frames = WorkspaceGrid::frames(int(counted.size()), visibleFrame);
        // A limit lowered below the members removes nobody, so the count may be the larger.
        const std::int64_t shown = std::max(preferences_.workspaceMaxApps(), std::int64_t(members_.size()));
        preview.notice = trn("Workspace is full (%lld app) — raise the limit in Settings › General.",
                             "Workspace is full (%lld apps) — raise the limit in Settings › General.", shown, shown);
    }
    return preview;
}

}  // namespace quillbern
