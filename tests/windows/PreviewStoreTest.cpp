#include <gtest/gtest.h>

#include "core/windows/PreviewStore.h"
#include "sim/SimLauncher.h"
#include "sim/SimPermissions.h"
#include "sim/SimSessionEvents.h"
#include "sim/SimWindowCapture.h"
#include "sim/SimWorld.h"

namespace quillbern {
namespace {

constexpr DisplayId kRetina = 1;
constexpr DisplayId kPlain = 2;

WindowInfo windowOn(WindowId id, DisplayId display = kRetina) {
    return {.id = id, .pid = 10, .appName = "Editor", .title = "W", .displayID = display};
}

class Previews : public ::testing::Test {
protected:
    SimWorld world;
    SimPermissions permissions;
    SimLauncher launcher;
    SimSessionEvents session;
    SimWindowCapture capture{world.clock};
    std::optional<PreviewStore> store;

    void SetUp() override {
        ScreenInfo retina;
        retina.id = kRetina;
        retina.scale = 2;
        ScreenInfo plain;
        plain.id = kPlain;
        plain.scale = 1;
        world.screens.setScreens({retina, plain});
        std::vector<CapturableWindow> windows;
        for (WindowId id = 1; id <= 40; ++id)
            windows.push_back({id, {1200, 800}, 2});
        capture.setWindows(windows);
    }
    PreviewStore& make(bool enabled = true) {
        world.defaults.set(PreviewStore::kEnabledKey, enabled);
        store.emplace(PreviewStore::Ports{.defaults = world.defaults,
                                          .permissions = permissions,
                                          .launcher = launcher,
                                          .screens = world.screens,
                                          .session = session,
                                          .capture = capture,
                                          .clock = world.clock,
                                          .mainLoop = world.mainLoop});
        return *store;
    }
    void advance(Duration seconds) { world.advance(seconds); }
    std::optional<WindowId> shown() const {
        return store->current() ? std::optional<WindowId>(store->current()->windowID) : std::nullopt;
    }
    // Hovers the window long enough for its capture to land.
    void captureOf(WindowId id) {
        store->hover(windowOn(id));
        advance(PreviewStore::kCaptureDelay);
    }
    std::optional<bool> flag(const char* key) const { return world.defaults.boolValue(key); }
};

TEST_F(Previews, TheCardShowsAtOnceAndTheCaptureFollowsAfterTheDelayAtTheDisplaysScale) {
    PreviewStore& s = make();
    s.hover(windowOn(7));
    EXPECT_EQ(s.hoveredWindow()->id, 7u);
    EXPECT_FALSE(s.current());  // the application icon until the picture comes
    advance(PreviewStore::kCaptureDelay - 0.01);
    EXPECT_TRUE(capture.captures().empty());
    advance(0.01);
    ASSERT_EQ(capture.captures().size(), 1u);
    EXPECT_EQ(capture.captures()[0], (SimWindowCapture::CaptureRequest{7, 720, 480}));
    ASSERT_EQ(shown(), 7u);
    EXPECT_EQ(s.current()->image.pointSize, (Size{360, 240}));

    // On a display of scale 1, and on one that is not connected (scale 2).
    captureOf(8);
    s.hover(windowOn(9, kPlain));
    advance(PreviewStore::kCaptureDelay);
    EXPECT_EQ(capture.captures().back(), (SimWindowCapture::CaptureRequest{9, 360, 240}));
    s.hover(windowOn(10, 77));
    advance(PreviewStore::kCaptureDelay);
    EXPECT_EQ(capture.captures().back(), (SimWindowCapture::CaptureRequest{10, 720, 480}));

    // Back on a window captured before: its picture at once, then a fresh one.
    s.hover(windowOn(7));
    EXPECT_EQ(shown(), 7u);
    advance(PreviewStore::kCaptureDelay);
    EXPECT_EQ(capture.captures().size(), 5u);
}

TEST_F(Previews, MinimizedWindowsAreNeverCapturedAndOffOrUngrantedOnlyHides) {
    PreviewStore& s = make();
    WindowInfo minimized = windowOn(7);
    minimized.isMinimized = true;
    s.hover(minimized);
    EXPECT_TRUE(s.hoveredWindow());
    advance(1);
    EXPECT_TRUE(capture.captures().empty());

    s.setEnabled(false);
    s.hover(windowOn(8));
    EXPECT_FALSE(s.hoveredWindow());
    s.setEnabled(true);
    permissions.setCaptureAllowed(false);
    s.refreshGrant();
    s.hover(windowOn(8));
    advance(1);
    EXPECT_FALSE(s.hoveredWindow());
    EXPECT_TRUE(capture.captures().empty());
}

TEST_F(Previews, MovingBetweenWindowsKeepsTheCardAndLeavingClearsItAfterTheHideDelay) {
    PreviewStore& s = make();
    int hoverSignals = 0;
    const Subscription observer = s.hoveredWindowChanged.connect([&] { ++hoverSignals; });
    s.hover(windowOn(7));
    s.hover(std::nullopt);
    advance(PreviewStore::kHideDelay - 0.01);
    s.hover(windowOn(8));
    advance(1);
    EXPECT_EQ(s.hoveredWindow()->id, 8u);
    // The capture for 7 was cancelled by leaving it.
    EXPECT_EQ(capture.captures().size(), 1u);
    s.hover(windowOn(8));
    EXPECT_EQ(hoverSignals, 2);

    s.hover(std::nullopt);
    advance(PreviewStore::kHideDelay - 0.01);
    EXPECT_TRUE(s.hoveredWindow());
    advance(0.01);
    EXPECT_FALSE(s.hoveredWindow());
    EXPECT_FALSE(s.current());
}

TEST_F(Previews, ALateCaptureForACancelledHoverIsDroppedEvenFromTheCache) {
    PreviewStore& s = make();
    capture.setCaptureDelay(0.3);
    s.hover(windowOn(7));
    advance(PreviewStore::kCaptureDelay + 0.05);
    s.hover(windowOn(8));
    advance(1);
    EXPECT_FALSE(s.hasCached(7));
    EXPECT_TRUE(s.hasCached(8));
    EXPECT_EQ(shown(), 8u);
}

TEST_F(Previews, FailedOrBlankCapturesLeaveTheCardAsItWas) {
    PreviewStore& s = make();
    captureOf(7);
    const ImageHandle first = s.current()->image.image;
    capture.setCaptureAlpha(7, 0);
    captureOf(7);
    EXPECT_EQ(s.current()->image.image, first);
    capture.setCaptureFails(7, true);
    captureOf(7);
    EXPECT_EQ(s.current()->image.image, first);

    capture.setCaptureAlpha(8, 0);
    captureOf(8);
    EXPECT_FALSE(s.current());
    EXPECT_FALSE(s.hasCached(8));
}

TEST_F(Previews, TheCacheEvictsByCaptureTimeAndPrunesVanishedWindows) {
    PreviewStore& s = make();
    for (WindowId id = 1; id <= 24; ++id)
        captureOf(id);
    EXPECT_EQ(s.cachedCount(), 24u);
    // Shown from the cache, but not captured again: still the oldest capture.
    s.hover(windowOn(1));
    s.hover(windowOn(2));
    advance(PreviewStore::kCaptureDelay);  // 2 is captured again and becomes the newest
    captureOf(25);
    EXPECT_EQ(s.cachedCount(), 24u);
    EXPECT_FALSE(s.hasCached(1));
    captureOf(26);
    EXPECT_TRUE(s.hasCached(2));
    EXPECT_FALSE(s.hasCached(3));

    // A snapshot without the hovered window clears the card and forgets the dead.
    std::unordered_set<WindowId> living{2, 4, 5};
    s.prune(living);
    EXPECT_EQ(s.cachedCount(), 3u);
    EXPECT_FALSE(s.hoveredWindow());
    s.hover(windowOn(4));
    living.insert(26);
    s.prune(living);
    EXPECT_TRUE(s.hoveredWindow());
    EXPECT_EQ(shown(), 4u);
    // The pruned order stays consistent: three more captures evict nothing.
    for (WindowId id = 30; id <= 32; ++id)
        captureOf(id);
    EXPECT_EQ(s.cachedCount(), 6u);

    session.fire(SessionEvent::screenLocked);
    EXPECT_EQ(s.cachedCount(), 0u);
    EXPECT_FALSE(s.hoveredWindow());
    captureOf(7);
    session.fire(SessionEvent::willSleep);
    EXPECT_EQ(s.cachedCount(), 0u);
}

TEST_F(Previews, SwitchingOffKeepsTheCacheAndSwitchingOnWithAccessAsksNothing) {
    PreviewStore& s = make();
    captureOf(7);
    s.setEnabled(false);
    EXPECT_EQ(flag(PreviewStore::kEnabledKey), false);
    EXPECT_FALSE(s.hoveredWindow());
    EXPECT_TRUE(s.hasCached(7));
    world.defaults.resetWriteCounts();
    s.setEnabled(true);
    s.setEnabled(true);
    advance(2);
    EXPECT_EQ(world.defaults.writeCount(PreviewStore::kEnabledKey), 1);
    EXPECT_EQ(permissions.captureRequests(), 0);
}

TEST_F(Previews, AFreshInstallPromptsOnceThenSendsTheUserToSettingsAndPollsForTheGrant) {
    permissions.setCaptureAllowed(false);
    PreviewStore& s = make(false);
    int grantSignals = 0;
    const Subscription observer = s.grantChanged.connect([&] { ++grantSignals; });
    s.setEnabled(true);
    EXPECT_EQ(permissions.captureRequests(), 0);  // asked after the current work
    advance(0);
    EXPECT_EQ(permissions.captureRequests(), 1);
    EXPECT_EQ(flag(PreviewStore::kPromptedKey), true);
    EXPECT_TRUE(launcher.openedPages().empty());

    s.ensurePermission();
    advance(0);
    EXPECT_EQ(launcher.openedPages(), std::vector<SystemSettingsPage>{SystemSettingsPage::screenCapturePrivacy});

    world.defaults.set(PreviewStore::kPromptedWhileRevokedKey, true);
    permissions.setCaptureAllowed(true);
    advance(1);
    EXPECT_TRUE(s.isGranted());
    EXPECT_EQ(grantSignals, 1);
    EXPECT_EQ(flag(PreviewStore::kPromptedWhileRevokedKey), false);
    // The poll has stopped.
    world.defaults.resetWriteCounts();
    advance(5);
    EXPECT_EQ(world.defaults.totalWrites(), 0);
}

TEST_F(Previews, ARevokedGrantIsAskedForAgainAtLaunchOnceUntilItIsSeenAgain) {
    permissions.setCaptureAllowed(false);
    world.defaults.set(PreviewStore::kPromptedKey, true);
    PreviewStore& s = make();
    s.promptIfEnabledButUngranted();
    advance(0);
    EXPECT_EQ(flag(PreviewStore::kPromptedWhileRevokedKey), true);
    EXPECT_EQ(permissions.captureRequests(), 1);

    // The next launches do not ask again.
    PreviewStore& again = make();
    again.promptIfEnabledButUngranted();
    advance(0);
    EXPECT_EQ(permissions.captureRequests(), 1);

    // Seen granted: the flag resets, so a later revocation is asked for once more.
    permissions.setCaptureAllowed(true);
    again.refreshGrant();
    EXPECT_EQ(flag(PreviewStore::kPromptedWhileRevokedKey), false);
    permissions.setCaptureAllowed(false);
    PreviewStore& third = make();
    third.promptIfEnabledButUngranted();
    advance(0);
    EXPECT_EQ(permissions.captureRequests(), 2);

    // Nothing is asked with previews off, and a granted start resets the flag.
    PreviewStore& off = make(false);
    world.defaults.set(PreviewStore::kPromptedWhileRevokedKey, false);
    off.promptIfEnabledButUngranted();
    advance(0);
    EXPECT_EQ(permissions.captureRequests(), 2);
    world.defaults.set(PreviewStore::kPromptedWhileRevokedKey, true);
    permissions.setCaptureAllowed(true);
    make();
    EXPECT_EQ(flag(PreviewStore::kPromptedWhileRevokedKey), false);
}

TEST_F(Previews, AStoreStartedEnabledWithoutAccessPollsUntilPreviewsGoOff) {
    permissions.setCaptureAllowed(false);
    PreviewStore& s = make();
    s.setEnabled(false);
    permissions.setCaptureAllowed(true);
    advance(3);
    EXPECT_FALSE(s.isGranted());
}

TEST(PreviewCapture, SizesFitTheBoxKeepTheAspectAndNeverEnlarge) {
    const auto size = [](Size points, double scale, Size box) {
        return PreviewCapturer::captureSize({1, points, scale}, box);
    };
    using PixelSize = PreviewCapturer::PixelSize;
    EXPECT_EQ(size({1200, 800}, 2, {720, 480}), (PixelSize{720, 480}));
    EXPECT_EQ(size({300, 200}, 2, {720, 480}), (PixelSize{600, 400}));
    EXPECT_EQ(size({1000, 100}, 1, {720, 480}), (PixelSize{720, 72}));
    EXPECT_EQ(size({1200, 800}, 2, {0, 0}), (PixelSize{1, 1}));
    EXPECT_EQ(size({0, 0}, 2, {720, 480}), (PixelSize{1, 1}));
}

TEST(PreviewCapture, OnlyAPictureTransparentAtEverySampleIsBlank) {
    EXPECT_TRUE(PreviewCapturer::isEffectivelyBlank(*SimWindowCapture::solidImage(720, 480, 0)));
    EXPECT_FALSE(PreviewCapturer::isEffectivelyBlank(*SimWindowCapture::solidImage(720, 480, 255)));
    EXPECT_FALSE(PreviewCapturer::isEffectivelyBlank(*SimWindowCapture::solidImage(3, 2, 1)));
    // One opaque block in a transparent picture.
    Image image = *SimWindowCapture::solidImage(64, 64, 0);
    for (int y = 32; y < 36; ++y) {
        for (int x = 32; x < 36; ++x)
            image.pixels->rgbaPremultiplied[(y * 64 + x) * 4 + 3] = 200;
    }
    EXPECT_FALSE(PreviewCapturer::isEffectivelyBlank(image));
    // Pixels the core cannot read are not judged blank.
    EXPECT_FALSE(PreviewCapturer::isEffectivelyBlank(Image{720, 480, 1, std::nullopt, nullptr}));
}

TEST(PreviewCapture, TheWindowListIsReusedForTwoSecondsAndAFailedFetchKeepsIt) {
    SimWorld world;
    SimWindowCapture capture(world.clock);
    PreviewCapturer capturer(capture, world.clock, world.mainLoop);
    std::vector<bool> answers;
    const auto ask = [&](WindowId id) {
        capturer.thumbnail(id, {720, 480}, [&](const ImageHandle& image) { answers.push_back(image != nullptr); });
        world.runUntilIdle();
    };
    capture.setWindows({{1, {100, 100}, 1}, {2, {100, 100}, 1}});
    ask(1);
    // Window 3 opens and 2 closes just after the fetch.
    capture.setWindows({{1, {100, 100}, 1}, {3, {100, 100}, 1}});
    world.advance(1.9);
    ask(3);
    ask(2);
    EXPECT_EQ(capture.listCount(), 1);
    EXPECT_EQ(answers, (std::vector<bool>{true, false, true}));

    world.advance(0.1);
    capture.setListFails(true);
    ask(3);
    EXPECT_EQ(capture.listCount(), 2);
    capture.setListFails(false);
    ask(3);
    EXPECT_EQ(capture.listCount(), 3);
    EXPECT_EQ(answers, (std::vector<bool>{true, false, true, false, true}));
}

}  // namespace
}  // namespace quillbern
