#include "core/windows/PreviewStore.h"

#include <algorithm>

namespace quillbern {

PreviewStore::PreviewStore(Ports ports)
    : ports_(ports),
      isGranted_(ports.permissions.isCaptureAllowed()),
      isEnabled_(ports.defaults.boolValue(kEnabledKey).value_or(false)),
      capturer_(ports.capture, ports.clock, ports.mainLoop) {
    const auto flushNow = lifetime_.guard([this] { flush(); });
    flushTokens_.push_back(ports_.session.on(SessionEvent::screenLocked, flushNow));
    flushTokens_.push_back(ports_.session.on(SessionEvent::willSleep, flushNow));
    if (isGranted_) ports_.defaults.set(kPromptedWhileRevokedKey, false);
    if (isEnabled_ && !isGranted_) startGrantPoll();
}

void PreviewStore::setEnabled(bool enabled) {
    expectOnLoop(ports_.mainLoop);
    const bool changed = enabled != isEnabled_;
    isEnabled_ = enabled;
    if (changed) enabledChanged.emit();
    ports_.defaults.set(kEnabledKey, enabled);
    if (enabled) {
        ensurePermission();
    } else {
        // The cache keeps its pictures for when previews come back.
        grantPollTimer_.reset();
        clearNow();
    }
}

void PreviewStore::hover(const std::optional<WindowInfo>& window) {
    expectOnLoop(ports_.mainLoop);
    cancelHover();
    if (!isEnabled_ || !isGranted_ || !window) {
        scheduleHide();
        return;
    }
    hideTimer_.reset();
    // The card shows at once; only the capture waits for the pointer to rest.
    setHoveredWindow(*window);
    const auto cached = lastGood_.find(window->id);
    setCurrent(cached == lastGood_.end() ? std::nullopt : std::optional<ShownPreview>({window->id, cached->second}));
    // A minimized window has nothing on screen to capture.
    if (window->isMinimized) return;
    hoverTimer_ = ports_.mainLoop.after(kCaptureDelay, lifetime_.guard([this, window = *window] { capture(window); }));
}

void PreviewStore::capture(const WindowInfo& window) {
    expectOnLoop(ports_.mainLoop);
    hoverTimer_.reset();
    const double scale = scaleOf(window.displayID);
    const std::uint64_t generation = hoverGeneration_;
    capturer_.thumbnail(window.id, {kCaptureBox.width * scale, kCaptureBox.height * scale},
                        lifetime_.guard([this, window, scale, generation](const ImageHandle& image) {
                            // Cancelled meanwhile: not even cached.
                            if (!image || generation != hoverGeneration_) return;
                            const PreviewImage preview{image, {image->widthPx / scale, image->heightPx / scale}};
                            cache(preview, window.id);
                            if (hoveredWindow_ && hoveredWindow_->id == window.id)
                                setCurrent(ShownPreview{window.id, preview});
                        }));
}

void PreviewStore::cancelHover() {
    expectOnLoop(ports_.mainLoop);
    hoverTimer_.reset();
    ++hoverGeneration_;
}

void PreviewStore::scheduleHide() {
    hideTimer_ = ports_.mainLoop.after(kHideDelay, lifetime_.guard([this] { clearNow(); }));
}

void PreviewStore::clearNow() {
    expectOnLoop(ports_.mainLoop);
    cancelHover();
    hideTimer_.reset();
    setHoveredWindow(std::nullopt);
    setCurrent(std::nullopt);
}

void PreviewStore::cache(const PreviewImage& image, WindowId id) {
    lastGood_.insert_or_assign(id, image);
    std::erase(cacheOrder_, id);
    cacheOrder_.push_back(id);
    // Eviction follows the time of capture, not of display.
    while (cacheOrder_.size() > kCacheCapacity) {
        lastGood_.erase(cacheOrder_.front());
        cacheOrder_.erase(cacheOrder_.begin());
    }
}

void PreviewStore::prune(const std::unordered_set<WindowId>& livingIDs) {
    expectOnLoop(ports_.mainLoop);
    std::erase_if(lastGood_, [&livingIDs](const auto& entry) { return !livingIDs.contains(entry.first); });
    std::erase_if(cacheOrder_, [&livingIDs](WindowId id) { return !livingIDs.contains(id); });
    if (hoveredWindow_ && !livingIDs.contains(hoveredWindow_->id)) clearNow();
}

void PreviewStore::flush() {
    expectOnLoop(ports_.mainLoop);
    lastGood_.clear();
    cacheOrder_.clear();
    clearNow();
}

bool PreviewStore::readGrant() {
    const bool granted = ports_.permissions.isCaptureAllowed();
    if (granted != isGranted_) {
        isGranted_ = granted;
        grantChanged.emit();
    }
    return granted;
}

void PreviewStore::refreshGrant() {
    if (readGrant()) {
        ports_.defaults.set(kPromptedWhileRevokedKey, false);
    } else if (isEnabled_) {
        startGrantPoll();
    }
}

void PreviewStore::ensurePermission() {
    if (readGrant()) return;
    ports_.mainLoop.post(lifetime_.guard([this] {
        const bool wasPrompted = ports_.defaults.boolValue(kPromptedKey).value_or(false);
        ports_.permissions.requestCaptureAccess(
            onLoop(ports_.mainLoop, lifetime_.token(), [this, wasPrompted](bool granted) {
                // The system prompts only the first time; later refusals need the settings page.
                if (!wasPrompted) {
                    ports_.defaults.set(kPromptedKey, true);
                } else if (!granted) {
                    ports_.launcher.openSystemSettings(SystemSettingsPage::screenCapturePrivacy);
                }
                // The grant is taken from the poll, not from this answer.
                startGrantPoll();
            }));
    }));
}

void PreviewStore::promptIfEnabledButUngranted() {
    if (!isEnabled_ || isGranted_ || ports_.defaults.boolValue(kPromptedWhileRevokedKey).value_or(false)) return;
    ports_.defaults.set(kPromptedWhileRevokedKey, true);
    ensurePermission();
}

void PreviewStore::startGrantPoll() {
    if (grantPollTimer_) return;
    grantPollTimer_ = ports_.mainLoop.every(kGrantPollInterval, lifetime_.guard([this] {
        if (!isEnabled_) {
            grantPollTimer_.reset();
            return;
        }
        if (!readGrant()) return;
        ports_.defaults.set(kPromptedWhileRevokedKey, false);
        grantPollTimer_.reset();
    }));
}

void PreviewStore::setHoveredWindow(std::optional<WindowInfo> window) {
    if (window == hoveredWindow_) return;
    hoveredWindow_ = std::move(window);
    hoveredWindowChanged.emit();
}

void PreviewStore::setCurrent(std::optional<ShownPreview> preview) {
    current_ = std::move(preview);
    currentChanged.emit();
}

double PreviewStore::scaleOf(DisplayId display) const {
    for (const ScreenInfo& screen : ports_.screens.screens()) {
        if (screen.id == display) return screen.scale;
    }
    return kFallbackScale;
}

}  // namespace quillbern
