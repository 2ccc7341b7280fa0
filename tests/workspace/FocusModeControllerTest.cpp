#include <gtest/gtest.h>

#include "core/workspace/FocusModeController.h"
#include "sim/SimAppProcess.h"
#include "sim/SimWorld.h"

namespace quillbern {
namespace {

// Two 1280x1080 screens side by side, the left one primary.
constexpr RectBL kLeft{0, 0, 1280, 1080};
constexpr RectBL kRight{1280, 0, 1280, 1080};
constexpr RectTL kNotes{100, 50, 800, 600};
constexpr RectTL kMail{1400, 100, 600, 400};
constexpr Duration kFaded = FocusModeController::kFade.duration;
constexpr Pid kBrowser = 60;
constexpr Pid kHelper = 61;

ScreenInfo screen(DisplayId id, RectBL frame) {
    ScreenInfo info;
    info.id = id;
    info.stableId = std::to_string(id);
    info.frame = frame;
    info.visibleFrame = frame;
    return info;
}

WindowInfo window(WindowId id, RectTL frame, bool focused = false) {
    WindowInfo info;
    info.id = id;
    info.pid = 40;
    info.appName = "Editor";
    info.frame = frame;
    info.isFocused = focused;
    return info;
}

// The on-screen list as a script; counts its readings.
class ScriptedWindowList final : public WindowList {
public:
    std::optional<std::vector<ListedWindow>> onScreenWindows() const override {
        ++reads;
        return windows;
    }
    void place(WindowId id, RectTL bounds) {
        for (ListedWindow& w : windows) {
            if (w.id == id) w.bounds = bounds;
        }
    }
    std::vector<ListedWindow> windows;
    mutable int reads = 0;
};

class FocusMode : public ::testing::Test {
protected:
    SimWorld world;
    SimAppProcess process;
    ScriptedWindowList list;
    AXPermission permission{world.permissions, world.processes, world.launcher};
    std::unique_ptr<WindowEngine> engine;
    std::unique_ptr<AppearanceStore> appearance;
    std::unique_ptr<FocusModeController> focus;
    int activations = 0;

    void SetUp() override {
        world.screens.setScreens({screen(1, kLeft), screen(2, kRight)});
        list.windows = {{8, 0, kNotes}, {9, 0, kMail}};
        make();
    }

    // After the permissions are set: the engine reads the trust once.
    void make() {
        focus.reset();
        engine = std::make_unique<WindowEngine>(world.enginePorts());
        appearance = std::make_unique<AppearanceStore>(world.defaults, world.appearance, world.mainLoop);
        focus = std::make_unique<FocusModeController>(FocusModeController::Ports{.panels = world.panels,
                                                                                 .views = world.workspaceViews,
                                                                                 .screens = world.screens,
                                                                                 .windowList = list,
                                                                                 .input = world.input,
                                                                                 .apps = world.apps,
                                                                                 .process = process,
                                                                                 .mainLoop = world.mainLoop},
                                                      *engine, *appearance, permission);
        focus->onActivate = [this] { ++activations; };
    }

    // A new snapshot, as the shell hands it on while focus mode is on.
    void snapshot(std::vector<WindowInfo> windows) {
        engine->apply({std::move(windows)});
        focus->apply(engine->snapshot());
    }
    // The engine learns of it, but nobody tells focus mode: only a retry finds it.
    void quietSnapshot(std::vector<WindowInfo> windows) { engine->apply({std::move(windows)}); }

    void turnOnFollowing(WindowId id, RectTL frame) {
        engine->apply({{window(id, frame, true)}});
        focus->setActive(true);
        world.advance(kFaded);
    }
    void launch(Pid pid, ActivationPolicy policy, std::string appId) {
        RunningApp app;
        app.pid = pid;
        app.policy = policy;
        app.appId = std::move(appId);
        world.apps.launch(app);
        world.apps.activateByUser(pid);
    }

    std::vector<const SimPanelState*> veils() const {
        std::vector<const SimPanelState*> found;
        for (std::uint64_t serial = 1; const SimPanelState* panel = world.panels.panel(serial); ++serial) {
            if (panel->shown<VeilContent>()) found.push_back(panel);
        }
        return found;
    }
    std::vector<const SimPanelState*> openVeils() const {
        std::vector<const SimPanelState*> open;
        for (const SimPanelState* veil : veils()) {
            if (!veil->closed) open.push_back(veil);
        }
        return open;
    }
    // The open veils' alphas, in the screens' order.
    std::vector<double> alphas() const {
        std::vector<double> found;
        for (const SimPanelState* veil : openVeils())
            found.push_back(veil->alpha);
        return found;
    }
    // The hole of the left screen's veil, as its view draws it.
    std::optional<Rect> leftHole() const { return openVeils().at(0)->veilHole; }
};

TEST_F(FocusMode, TurningOnTwiceKeepsOneFollowTickAndOneScreenObserver) {
    turnOnFollowing(8, kNotes);
    focus->setActive(true);
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(world.screens.observerCount(), 1u);
    EXPECT_EQ(openVeils().size(), 2u);
    list.reads = 0;
    world.advance(FocusModeController::kFollowInterval * 4);
    EXPECT_EQ(list.reads, 4) << "four ticks a second";
}

TEST_F(FocusMode, WithoutWindowAccessItLogsPromptsOpensTheSettingsAndStaysOff) {
    world.permissions.setWindowAccessTrusted(false);
    make();
    engine->apply({{window(8, kNotes, true)}});
    focus->setActive(true);
    EXPECT_FALSE(focus->isActive());
    EXPECT_EQ(activations, 0);
    EXPECT_EQ(world.log.lines(), std::vector<std::string>{"Quillbern: focus mode needs window access, granted while a "
                                                          "window manager that follows EWMH runs; it stays off"});
    EXPECT_EQ(world.permissions.windowAccessPrompts(), 1);
    EXPECT_EQ(world.launcher.openedPages(), std::vector<SystemSettingsPage>{SystemSettingsPage::windowAccessPrivacy});
    world.advance(1.0);
    EXPECT_TRUE(veils().empty());
    EXPECT_EQ(list.reads, 0);
    EXPECT_EQ(world.screens.observerCount(), 0u);
}

TEST_F(FocusMode, TheVeilCutsAHoleOverTheFirstFocusedWindowThatIsNotMinimised) {
    appearance->setVeilIntensity(0.2);
    WindowInfo minimised = window(7, {0, 0, 300, 300}, true);
    minimised.isMinimized = true;
    engine->apply({{minimised, window(8, kNotes, true), window(9, kMail, true)}});
    focus->setActive(true);
    ASSERT_EQ(openVeils().size(), 2u);
    const SimPanelState& left = *openVeils()[0];
    EXPECT_EQ(left.frame, kLeft);
    EXPECT_EQ(left.style.level, PanelLevel::veil);
    EXPECT_TRUE(left.style.ignoresMouse);
    EXPECT_EQ(left.veilHole, (Rect{100, 50, 800, 600}));
    EXPECT_EQ(left.veilIntensity, 0.2);
    EXPECT_EQ(focus->currentHoleCG(), kNotes);
    EXPECT_EQ(focus->panels().size(), 2u);
    // Both panels carry the hole; only the one of the window's screen shows.
    EXPECT_EQ(openVeils()[1]->veilHole, std::nullopt) << "the hole is not on the right screen";
    EXPECT_EQ(alphas(), (std::vector<double>{0, 0}));
    world.advance(kFaded);
    EXPECT_EQ(alphas(), (std::vector<double>{1, 0}));
}

TEST_F(FocusMode, AFocusedWindowWithoutAFrameCountsAsNoFocusedWindow) {
    turnOnFollowing(8, kNotes);
    launch(kHelper, ActivationPolicy::accessory, "org.example.Helper");
    // The first focused window decides, even when a later one would do.
    snapshot({window(8, {100, 50, 0, 600}, true), window(9, kMail, true)});
    EXPECT_EQ(focus->currentHoleCG(), kNotes) << "nothing new to follow; the veil stays";
    snapshot({window(8, RectTL::null(), true)});
    EXPECT_EQ(focus->currentHoleCG(), kNotes);
    EXPECT_EQ(alphas(), (std::vector<double>{1, 0}));
}

TEST_F(FocusMode, TheHoleMovesOnlyWhenTheWindowDid) {
    turnOnFollowing(8, kNotes);
    const SimPanelState& left = *openVeils()[0];
    ASSERT_EQ(left.veilRedraws, 1);
    snapshot({window(8, kNotes, true), window(9, kMail)});
    world.advance(FocusModeController::kFollowInterval * 2);
    EXPECT_EQ(left.veilRedraws, 1) << "same frame in the snapshot and in the on-screen list";

    // Moved without a new snapshot: the follow tick sees it.
    list.place(8, {300, 200, 800, 600});
    world.advance(FocusModeController::kFollowInterval);
    EXPECT_EQ(left.veilRedraws, 2);
    EXPECT_EQ(left.veilHole, (Rect{300, 200, 800, 600}));
    EXPECT_EQ(alphas(), (std::vector<double>{1, 0})) << "no fade for a move on the same screen";

    // A window missing from the list leaves the veil as it is.
    list.windows.clear();
    world.advance(FocusModeController::kFollowInterval);
    EXPECT_EQ(left.veilRedraws, 2);
}

TEST_F(FocusMode, FocusMovingWhileTheButtonIsDownStepsAsideUntilTheRelease) {
    turnOnFollowing(8, kNotes);
    world.input.setPressedButtons(kLeftButton);
    snapshot({window(8, kNotes), window(9, kMail, true)});
    world.advance(kFaded);
    EXPECT_EQ(alphas(), (std::vector<double>{0, 0}));
    EXPECT_EQ(focus->currentHoleCG(), kNotes) << "the hole waits for the release";

    // Dragged meanwhile; nothing shows while the button stays down, snapshots or not.
    list.place(9, {1500, 300, 600, 400});
    snapshot({window(8, kNotes), window(9, {1450, 200, 600, 400}, true)});
    world.advance(FocusModeController::kFollowInterval * 3);
    EXPECT_EQ(alphas(), (std::vector<double>{0, 0}));

    world.input.setPressedButtons(0);
    world.advance(FocusModeController::kFollowInterval + kFaded);
    EXPECT_EQ(focus->currentHoleCG(), (RectTL{1500, 300, 600, 400})) << "where the window ended";
    EXPECT_EQ(alphas(), (std::vector<double>{0, 1}));
    EXPECT_EQ(openVeils()[1]->veilHole, (Rect{220, 300, 600, 400}));
}

TEST_F(FocusMode, DraggingTheFocusedWindowFadesTheVeilOutAndBackAtTheNewPlace) {
    turnOnFollowing(8, kNotes);
    world.input.setPressedButtons(kLeftButton);
    world.advance(FocusModeController::kFollowInterval);
    EXPECT_EQ(alphas(), (std::vector<double>{1, 0})) << "a press alone changes nothing";
    list.place(8, {200, 100, 800, 600});
    world.advance(FocusModeController::kFollowInterval + kFaded);
    EXPECT_EQ(alphas(), (std::vector<double>{0, 0}));
    list.place(8, {400, 300, 800, 600});
    world.advance(FocusModeController::kFollowInterval);
    world.input.setPressedButtons(0);
    world.advance(FocusModeController::kFollowInterval + kFaded);
    EXPECT_EQ(alphas(), (std::vector<double>{1, 0}));
    EXPECT_EQ(leftHole(), (Rect{400, 300, 800, 600}));

    // Turned off while suspended, the next turn-on starts afresh.
    world.input.setPressedButtons(kLeftButton);
    list.place(8, {100, 100, 800, 600});
    world.advance(FocusModeController::kFollowInterval + kFaded);
    EXPECT_EQ(alphas(), (std::vector<double>{0, 0}));
    focus->setActive(false);
    world.input.setPressedButtons(0);
    engine->apply({{window(8, {100, 100, 800, 600}, true)}});
    focus->setActive(true);
    world.advance(kFaded);
    EXPECT_EQ(alphas(), (std::vector<double>{1, 0}));
}

TEST_F(FocusMode, TheVeilShowsOnTheScreenHoldingMostOfTheWindowAndFollowsItAcross) {
    // 380 points on the left, 420 on the right.
    turnOnFollowing(8, {900, 100, 800, 600});
    EXPECT_EQ(alphas(), (std::vector<double>{0, 1}));
    EXPECT_EQ(openVeils()[0]->veilHole, (Rect{900, 100, 800, 600})) << "whole, past the edge";
    EXPECT_EQ(openVeils()[1]->veilHole, (Rect{-380, 100, 800, 600}));

    // Equal parts: the earlier screen.
    snapshot({window(8, {880, 100, 800, 600}, true)});
    world.advance(kFaded);
    EXPECT_EQ(alphas(), (std::vector<double>{1, 0}));

    list.place(8, {1600, 100, 800, 600});
    world.advance(FocusModeController::kFollowInterval + kFaded);
    EXPECT_EQ(alphas(), (std::vector<double>{0, 1}));
    EXPECT_EQ(openVeils()[1]->veilHole, (Rect{320, 100, 800, 600}));
}

TEST_F(FocusMode, AnotherRegularApplicationInFrontWithoutAFocusedWindowHidesTheVeilWithoutRetrying) {
    turnOnFollowing(8, kNotes);
    launch(kBrowser, ActivationPolicy::regular, "org.example.Browser");
    snapshot({window(8, kNotes), window(9, kMail)});
    world.advance(kFaded);
    EXPECT_EQ(alphas(), (std::vector<double>{0, 0}));
    EXPECT_EQ(focus->currentHoleCG(), std::nullopt);
    quietSnapshot({window(8, kNotes), window(9, kMail, true)});
    world.advance(FocusModeController::kRetryInterval * 3);
    EXPECT_EQ(alphas(), (std::vector<double>{0, 0})) << "no retry: the next snapshot decides";
    snapshot({window(8, kNotes), window(9, kMail, true)});
    world.advance(kFaded);
    EXPECT_EQ(alphas(), (std::vector<double>{0, 1}));
}

TEST_F(FocusMode, AnApplicationThatIsNotRegularKeepsTheVeilAndRetriesUntilAWindowIsFocused) {
    turnOnFollowing(8, kNotes);
    launch(kHelper, ActivationPolicy::accessory, "org.example.Helper");
    snapshot({window(8, kNotes), window(9, kMail)});
    world.advance(FocusModeController::kRetryInterval * 2);
    EXPECT_EQ(alphas(), (std::vector<double>{1, 0}));
    EXPECT_EQ(focus->currentHoleCG(), kNotes);

    quietSnapshot({window(8, kNotes), window(9, kMail, true)});
    world.advance(FocusModeController::kRetryInterval + kFaded);
    EXPECT_EQ(focus->currentHoleCG(), kMail) << "a retry found it";
    EXPECT_EQ(alphas(), (std::vector<double>{0, 1}));

    // Found, the retry stops: a later quiet focus change waits for its snapshot.
    quietSnapshot({window(8, kNotes, true), window(9, kMail)});
    world.advance(FocusModeController::kRetryInterval * 3);
    EXPECT_EQ(focus->currentHoleCG(), kMail);
}

TEST_F(FocusMode, OurOwnWindowInFrontHidesTheVeilAndRetries) {
    turnOnFollowing(8, kNotes);
    // The running applications leave us out; our focused Settings window tells instead.
    launch(kBrowser, ActivationPolicy::regular, "org.example.Browser");
    world.panels.setOtherOwnWindows(
        {{.isVisible = true, .frame = {}, .isTitled = true, .level = {}, .hasFocus = true}});
    snapshot({window(8, kNotes), window(9, kMail)});
    world.advance(kFaded);
    EXPECT_EQ(alphas(), (std::vector<double>{0, 0}));
    EXPECT_EQ(focus->currentHoleCG(), std::nullopt);

    quietSnapshot({window(8, kNotes, true), window(9, kMail)});
    world.advance(FocusModeController::kRetryInterval + kFaded);
    EXPECT_EQ(alphas(), (std::vector<double>{1, 0})) << "the retry found the editor again";
}

TEST_F(FocusMode, OurOwnPanelsAloneDoNotHideTheVeil) {
    turnOnFollowing(8, kNotes);
    // An accessory in front, our veils shown and an unfocused palette: nothing of ours is
    // in front with a window of its own.
    launch(kHelper, ActivationPolicy::accessory, "org.example.Helper");
    world.panels.setOtherOwnWindows(
        {{.isVisible = true, .frame = {}, .isTitled = true, .level = {}, .hasFocus = false}});
    snapshot({window(8, kNotes), window(9, kMail)});
    world.advance(kFaded);
    EXPECT_EQ(alphas(), (std::vector<double>{1, 0}));
}

TEST_F(FocusMode, AScreenChangeRebuildsThePanelsAndKeepsTheHole) {
    turnOnFollowing(8, kNotes);
    launch(kHelper, ActivationPolicy::accessory, "org.example.Helper");
    snapshot({window(8, kNotes), window(9, kMail)});
    const auto before = openVeils();

    world.screens.setScreens({screen(1, kLeft), screen(2, kRight), screen(3, {2560, 0, 1920, 1080})});
    world.screens.fireChanged();
    world.advance(kFaded);
    for (const SimPanelState* old : before) {
        EXPECT_TRUE(old->closed);
        EXPECT_TRUE(old->veilEffectsCleared);
    }
    ASSERT_EQ(openVeils().size(), 3u);
    EXPECT_EQ(openVeils()[2]->frame, (RectBL{2560, 0, 1920, 1080}));
    EXPECT_EQ(focus->currentHoleCG(), kNotes) << "no focused window now: the veil comes back where it was";
    EXPECT_EQ(alphas(), (std::vector<double>{1, 0, 0}));

    // A change nobody announced is found at the next snapshot with a focused window.
    world.screens.setScreens({screen(1, kLeft)});
    snapshot({window(8, kNotes, true)});
    world.advance(kFaded);
    EXPECT_EQ(alphas(), (std::vector<double>{1}));
}

TEST_F(FocusMode, TurningOnWithNothingFocusedWaitsForAFocusedWindowToBuildThePanels) {
    launch(kHelper, ActivationPolicy::accessory, "org.example.Helper");
    engine->apply({{window(8, kNotes)}});
    focus->setActive(true);
    EXPECT_TRUE(focus->isActive());
    EXPECT_TRUE(veils().empty());
    quietSnapshot({window(8, kNotes, true)});
    world.advance(FocusModeController::kRetryInterval + kFaded);
    EXPECT_EQ(alphas(), (std::vector<double>{1, 0}));
}

TEST_F(FocusMode, ANewIntensityChangesOnlyTheDimming) {
    turnOnFollowing(8, kNotes);
    const SimPanelState& left = *openVeils()[0];
    const int redraws = left.veilRedraws;
    appearance->setVeilIntensity(0.45);
    focus->refreshIntensity();
    EXPECT_EQ(left.veilIntensity, 0.45) << "at once";
    EXPECT_EQ(left.alpha, 1);
    EXPECT_EQ(left.veilHole, (Rect{100, 50, 800, 600}));
    EXPECT_EQ(left.veilRedraws, redraws + 1);
}

TEST_F(FocusMode, TurningOffLeavesNoPanelTimerOrObserver) {
    turnOnFollowing(8, kNotes);
    const auto shown = openVeils();
    focus->setActive(false);
    EXPECT_FALSE(focus->isActive());
    EXPECT_TRUE(openVeils().empty());
    for (const SimPanelState* veil : shown)
        EXPECT_TRUE(veil->veilEffectsCleared);
    EXPECT_EQ(world.screens.observerCount(), 0u);
    EXPECT_EQ(focus->currentHoleCG(), std::nullopt);
    list.reads = 0;
    world.advance(2.0);
    EXPECT_EQ(list.reads, 0);
    EXPECT_TRUE(openVeils().empty());
}

TEST_F(FocusMode, DestroyingItWhileOnTearsDownAsTurningOffDoes) {
    turnOnFollowing(8, kNotes);
    launch(kHelper, ActivationPolicy::accessory, "org.example.Helper");
    snapshot({window(8, kNotes), window(9, kMail)});  // the retry runs too
    const auto shown = openVeils();
    focus.reset();
    EXPECT_TRUE(openVeils().empty());
    for (const SimPanelState* veil : shown)
        EXPECT_TRUE(veil->veilEffectsCleared) << "the blur behind is given back, not left to the window system";
    EXPECT_EQ(world.screens.observerCount(), 0u);
    list.reads = 0;
    world.screens.fireChanged();
    world.advance(2.0);
    EXPECT_EQ(list.reads, 0);
    EXPECT_TRUE(veils().size() == shown.size()) << "no panel made after it went";
}

}  // namespace
}  // namespace quillbern
