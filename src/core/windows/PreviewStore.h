#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <unordered_set>
#include <vector>

#include "core/foundation/Defaults.h"
#include "core/foundation/FilledByName.h"
#include "core/foundation/Lifetime.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"
#include "core/platform/Launcher.h"
#include "core/platform/Permissions.h"
#include "core/platform/Screens.h"
#include "core/platform/SessionEvents.h"
#include "core/windows/PreviewCapturer.h"
#include "core/windows/WindowInfo.h"

namespace quillbern {

// A captured picture and the size it is shown at.
struct PreviewImage {
    ImageHandle image;
    Size pointSize;
    bool operator==(const PreviewImage&) const = default;
};

// The picture to show; it belongs to the card only while `windowID` is the hovered window.
struct ShownPreview {
    WindowId windowID = 0;
    PreviewImage image;
};

// The model behind hover previews: which window's card is shown, the picture for it, a
// small cache of recent pictures, the user's previews switch and the screen-capture
// permission that pictures need. Main thread.
class PreviewStore {
public:
    static constexpr Duration kCaptureDelay = 0.18;
    static constexpr Duration kHideDelay = 0.12;
    static constexpr Duration kGrantPollInterval = 1.0;
    static constexpr Size kCaptureBox{360, 240};
    static constexpr double kFallbackScale = 2.0;
    static constexpr std::size_t kCacheCapacity = 24;

    static constexpr const char* kEnabledKey = "previewsEnabled";
    static constexpr const char* kPromptedKey = "screenRecordingPrompted";
    static constexpr const char* kPromptedWhileRevokedKey = "srPromptedWhileRevoked";

    struct Ports {
        [[no_unique_address]] FilledByName<Ports> byName{};
        Defaults& defaults;
        Permissions& permissions;
        Launcher& launcher;
        const Screens& screens;
        SessionEvents& session;
        WindowCapture& capture;
        const Clock& clock;
        RunLoop& mainLoop;
    };

    explicit PreviewStore(Ports ports);
    PreviewStore(const PreviewStore&) = delete;
    PreviewStore& operator=(const PreviewStore&) = delete;

    bool isGranted() const { return isGranted_; }
    bool isEnabled() const { return isEnabled_; }
    // Stored at once; switching on asks for access when missing.
    void setEnabled(bool enabled);
    const std::optional<WindowInfo>& hoveredWindow() const { return hoveredWindow_; }
    const std::optional<ShownPreview>& current() const { return current_; }

    // The pointer rests on this window's entry, or on none.
    void hover(const std::optional<WindowInfo>& window);
    // Drops the card at once and everything pending.
    void clearNow();
    // Forgets the pictures of windows that no longer exist.
    void prune(const std::unordered_set<WindowId>& livingIDs);
    void refreshGrant();
    void ensurePermission();
    // The launch-time prompt: asks again after the grant was revoked, once until the grant
    // is seen again.
    void promptIfEnabledButUngranted();

    // Told only on a change.
    Signal<> grantChanged;
    Signal<> enabledChanged;
    Signal<> hoveredWindowChanged;
    // Told on every assignment.
    Signal<> currentChanged;

    std::size_t cachedCount() const { return lastGood_.size(); }
    bool hasCached(WindowId id) const { return lastGood_.contains(id); }

private:
    void capture(const WindowInfo& window);
    void scheduleHide();
    void cancelHover();
    void cache(const PreviewImage& image, WindowId id);
    void flush();
    void startGrantPoll();
    // Reads the grant; answers it.
    bool readGrant();
    void setHoveredWindow(std::optional<WindowInfo> window);
    void setCurrent(std::optional<ShownPreview> preview);
    double scaleOf(DisplayId display) const;

    Ports ports_;
    bool isGranted_;
    std::optional<WindowInfo> hoveredWindow_;
    std::optional<ShownPreview> current_;
    bool isEnabled_;
    PreviewCapturer capturer_;
    std::map<WindowId, PreviewImage> lastGood_;
    // The keys of lastGood_, each once, oldest capture first.
    std::vector<WindowId> cacheOrder_;
    std::optional<Timer> hoverTimer_;
    // Moves on whenever the pending capture is cancelled, so a late answer is dropped.
    std::uint64_t hoverGeneration_ = 0;
    std::optional<Timer> hideTimer_;
    std::optional<Timer> grantPollTimer_;
    std::vector<Subscription> flushTokens_;
    Lifetime lifetime_;
};

}  // namespace quillbern
