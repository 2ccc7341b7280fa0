#pragma once

#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/platform/Screens.h"
#include "core/platform/WindowAccess.h"
#include "core/platform/WindowList.h"
#include "core/windows/AccessFunctions.h"
#include "core/windows/WindowSnapshot.h"

namespace quillbern {

using TrackedApps = std::map<Pid, std::string>;
using WindowIdSet = std::unordered_set<WindowId>;

// Rebuilds the window snapshot from the tracked applications' windows and the on-screen
// list, and keeps what the next pass and window actions need of the last one. Worker
// thread only.
class WindowReconciler {
public:
    // Consecutive failed window-list reads after which an application's old windows go.
    static constexpr int kFailuresBeforeDropping = 5;

    WindowReconciler(WindowAccess& access, const WindowList& list, const Screens& screens);

    WindowSnapshot reconcile(const TrackedApps& apps);

    // Forgets the failure counts of applications no longer tracked.
    void keepFailureCountsOf(const TrackedApps& apps);
    // Some application's windows could not be read at the last pass.
    bool hasFailures() const;
    const WindowIdSet& lastOnScreenIDs() const { return lastOnScreenIDs_; }
    void setLastOnScreenIDs(WindowIdSet ids) { lastOnScreenIDs_ = std::move(ids); }
    void forgetElements();
    // The element of a window of the last pass, when it still belongs to `pid` and still
    // answers to `id`.
    std::optional<ElementRef> validElement(WindowId id, Pid pid);

private:
    struct Focus {
        std::optional<WindowId> focused;
        std::optional<WindowId> main;
    };
    Focus readFocus(ElementRef app);
    // False when the application's window list could not be read.
    bool readWindows(Pid pid, const std::string& appName, ElementRef app, const OnScreenBounds& onScreen,
                     const std::vector<ScreenInfo>& screens, std::vector<WindowInfo>& into,
                     std::unordered_map<WindowId, ElementRef>& elementsInto);
    void carryOver(Pid pid, std::vector<WindowInfo>& into,
                   std::unordered_map<WindowId, ElementRef>& elementsInto) const;

    WindowAccess& access_;
    const WindowList& list_;
    const Screens& screens_;
    MissingWindowIdWarning missingIdWarning_;

    std::unordered_map<Pid, std::vector<WindowInfo>> lastByPid_;
    std::unordered_map<WindowId, ElementRef> elements_;
    std::unordered_map<WindowId, Pid> pidByID_;
    std::unordered_map<Pid, int> failureCount_;
    WindowIdSet lastOnScreenIDs_;
};

}  // namespace quillbern
