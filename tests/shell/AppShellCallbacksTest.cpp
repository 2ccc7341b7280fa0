#include <gtest/gtest.h>

#include "core/foundation/Geometry.h"
#include "shell/ShellWorld.h"

namespace quillbern {
namespace {

using testing::kDisplay;
using testing::ShellWorld;

constexpr Pid kEditor = 50;
constexpr KeyCode kDigit1 = 18, kKeyB = 11, kKeyV = 9;

RunningApp editor() {
    RunningApp app;
    app.pid = kEditor;
    app.name = "Editor";
    app.appId = "org.example.Editor";
    return app;
}

WindowInfo windowOf(Pid pid, WindowId id) {
    return {.id = id, .pid = pid, .appName = "Editor", .title = "Notes", .displayID = kDisplay};
}

class ShellCallbacks : public ::testing::Test {
protected:
    ShellWorld w;

    // The one dock shows the running applications beside two pinned ones, so one more
    // application makes it longer.
    void showWindowsOnTheDock() {
        PinnedStore& pinned = w.shell->pinned();
        const Uuid dock = pinned.profiles().front().id;
        pinned.pin("org.example.Mail", "Mail", std::nullopt, dock);
        pinned.pin("org.example.Music", "Music", std::nullopt, dock);
        pinned.setShowsWindows(dock, true);
        settle();
    }
    void settle() { w.advance(DockController::kFrameChange.duration); }
    // The window engine looks at the windows again.
    void reconcile() {
        w.session.fire(SessionEvent::didWake);
        w.advance(AXWorker::kDebounce);
    }
};

TEST_F(ShellCallbacks, ASnapshotPrunesPreviewsMovesTheDocksAndReachesTheWorkspace) {
    w.world.apps.launch(editor());
    w.world.defaults.set(PreviewStore::kEnabledKey, true);
    w.capture.setWindows({{7, {800, 600}, 1}});
    AppShell& shell = w.launch();
    showWindowsOnTheDock();
    const RectBL before = w.dockFrame();
    shell.previews().hover(windowOf(kEditor, 7));
    w.advance(PreviewStore::kCaptureDelay);
    ASSERT_TRUE(shell.previews().hasCached(7));
    shell.previews().hover(std::nullopt);
    // Dropped while it shows no window, the editor waits in the workspace for one.
    shell.workspace()->drop("org.example.Editor", kDisplay, {100, 100});
    ASSERT_FALSE(shell.workspace()->members().at(0).windowID);

    w.windows.addWindow(kEditor, {.id = 8, .title = "Notes", .frame = {0, 0, 500, 400}});
    reconcile();
    settle();
    EXPECT_FALSE(shell.previews().hasCached(7)) << "window 7 is gone";
    EXPECT_GT(w.dockFrame().width, before.width) << "room for the running editor";
    EXPECT_EQ(shell.workspace()->members().at(0).windowID, 8u) << "the workspace heard of the window";
    EXPECT_TRUE(w.veilPanels().empty()) << "focus mode is off";

    shell.focusMode()->setActive(true);
    w.addFocusedWindow(kEditor, 9, {0, 0, 500, 400});
    reconcile();
    ASSERT_EQ(w.veilPanels().size(), 1u) << "focus mode veils the newly focused window";
    EXPECT_EQ(shell.focusMode()->currentHoleCG(), (RectTL{0, 0, 500, 400}));
}

TEST_F(ShellCallbacks, ATrustChangeMovesTheDocks) {
    w.permissions.setWindowAccessTrusted(false);
    w.launch();
    showWindowsOnTheDock();
    const RectBL untrusted = w.dockFrame();

    w.permissions.setWindowAccessTrusted(true);
    w.advance(WindowEngine::kTrustPollInterval);
    settle();
    EXPECT_NE(w.dockFrame().width, untrusted.width) << "the button that asks for access is gone";
}

TEST_F(ShellCallbacks, AnAppearanceChangeMovesTheDocksAndRedrawsAnOpenVeil) {
    AppShell& shell = w.launch();
    const RectBL before = w.dockFrame();
    shell.appearance().setTileSize(80);
    settle();
    EXPECT_GT(w.dockFrame().width, before.width);

    w.world.apps.launch(editor());
    w.addFocusedWindow(kEditor, 9, {100, 80, 400, 300});
    reconcile();
    shell.focusMode()->setActive(true);
    ASSERT_EQ(w.veilPanels().size(), 1u);
    const SimPanelState& veil = *w.veilPanels()[0];
    shell.appearance().setVeilIntensity(0.45);
    EXPECT_DOUBLE_EQ(veil.veilIntensity, 0.45);
    EXPECT_EQ(veil.veilHole, (Rect{100, 80, 400, 300})) << "the hole stays";
}

TEST_F(ShellCallbacks, ARelaunchByTheUpdaterGivesTheDesktopsDockBackOnlyWhileHiding) {
    w.world.nativeDock.userSets("autohide", false);
    w.world.defaults.set("hideNativeDock", true);
    w.launch();
    ASSERT_EQ(w.world.nativeDock.dockValue("autohide"), true);
    w.updater.relaunch();
    EXPECT_EQ(w.world.nativeDock.dockValue("autohide"), false);
}

TEST_F(ShellCallbacks, ARelaunchWithHidingOffLeavesTheDesktopsDockAlone) {
    w.launch();
    w.log.clear();
    w.updater.relaunch();
    EXPECT_EQ(w.log.count("nativeDock."), 0);
}

TEST_F(ShellCallbacks, AnApplicationTileLetGoOverTheDesktopJoinsTheWorkspaceAndEndsTheDrag) {
    AppShell& shell = w.launch();
    const Uuid dock = shell.pinned().profiles().front().id;
    w.world.input.setPointer({960, 540});
    w.world.input.setPressedButtons(kLeftButton);
    shell.pinned().setDragSession(DragSession{"app:org.example.Editor", dock});
    EXPECT_TRUE(shell.placement()->isActive());
    w.advance(PlacementController::kPollInterval);
    w.world.input.setPressedButtons(0);
    w.advance(PlacementController::kPollInterval);
    EXPECT_FALSE(shell.pinned().dragSession());
    EXPECT_FALSE(shell.placement()->isActive());
    EXPECT_TRUE(shell.workspace()->isMember("org.example.Editor"));
}

TEST_F(ShellCallbacks, OurOwnRaiseFlashesTheSpotlightUntilFocusModeTurnsOn) {
    w.world.apps.launch(editor());
    w.windows.addWindow(kEditor, {.id = 8, .title = "Notes", .frame = {0, 0, 500, 400}});
    w.windows.addWindow(kEditor, {.id = 9, .title = "Drafts", .frame = {600, 0, 500, 400}});
    w.world.defaults.set("appearanceSpotlight", true);
    AppShell& shell = w.launch();
    w.advance(AXWorker::kDebounce);
    const WindowSnapshot& snapshot = shell.engine().snapshot();
    ASSERT_EQ(snapshot.windows.size(), 2u);
    WindowInfo focused = snapshot.windows[1];
    focused.isFocused = true;
    shell.engine().onRaiseRequest(focused);
    w.advance(FocusSpotlight::kDelay);
    EXPECT_TRUE(w.veilPanels().empty()) << "a focused window needs no light";
    shell.engine().onRaiseRequest(snapshot.windows[0]);
    w.advance(FocusSpotlight::kDelay);
    ASSERT_EQ(w.veilPanels().size(), 1u);
    EXPECT_TRUE(w.veilPanels()[0]->visible);

    // Turning focus mode on takes the flash away at once; while it is on, raises stay dark.
    shell.focusMode()->setActive(true);
    EXPECT_TRUE(w.veilPanels()[0]->closed);
    shell.engine().onRaiseRequest(snapshot.windows[1]);
    w.advance(FocusSpotlight::kDelay);
    EXPECT_EQ(w.veilPanels().size(), 1u);
}

TEST_F(ShellCallbacks, OurOwnRaiseOrPlacementQuietensTheActivationFlash) {
    w.world.apps.launch(editor());
    const ElementRef window = w.windows.addWindow(kEditor, {.id = 8, .title = "Notes", .frame = {0, 0, 500, 400}});
    w.world.defaults.set("appearanceSpotlight", true);
    AppShell& shell = w.launch();
    w.advance(AXWorker::kDebounce);
    ASSERT_EQ(shell.engine().snapshot().windows.size(), 1u);
    const WindowInfo notes = shell.engine().snapshot().windows[0];
    for (const bool placed : {false, true}) {
        if (placed) {
            shell.engine().onPlaceRequest(notes, RectTL{0, 0, 500, 400});
        } else {
            shell.engine().onRaiseRequest(notes);
        }
        w.advance(ActivationFlash::kQuietAfterOwnRaise);
        const std::size_t before = w.veilPanels().size();
        w.bringForward(kEditor, window);
        w.advance(FocusSpotlight::kDelay);
        EXPECT_EQ(w.veilPanels().size(), before) << "placed " << placed;
        w.bringForward(kEditor, window);
        w.advance(FocusSpotlight::kDelay);
        EXPECT_EQ(w.veilPanels().size(), before + 1) << "placed " << placed;
    }
}

TEST_F(ShellCallbacks, ShortcutsFollowTheDocksAndTheSettingsAndReachTheParts) {
    AppShell& shell = w.launch();
    const Uuid dock = shell.pinned().profiles().front().id;
    const HotKeyAction dockAction = HotKeyAction::profile(dock);
    ASSERT_EQ(shell.registeredChords().at(dockAction), (HotKeyChord{kDigit1, HotKeyChord::kControlCommand}));

    // A dock's own chord, then an override, are registered at once.
    shell.pinned().setChord(dock, HotKeyChord{kKeyV, HotKeyChord::kControlCommand});
    EXPECT_EQ(shell.registeredChords().at(dockAction), (HotKeyChord{kKeyV, HotKeyChord::kControlCommand}));
    const HotKeyAction overview(HotKeyAction::Kind::overview);
    shell.dockPreferences().setOverride(overview, HotKeyChord{kKeyB, HotKeyChord::kControlCommand});
    EXPECT_EQ(shell.registeredChords().at(overview), (HotKeyChord{kKeyB, HotKeyChord::kControlCommand}));

    // The parts made at the launch are what the shortcuts act on.
    ASSERT_TRUE(w.world.hotKeys.press(kKeyB, HotKeyChord::kControlCommand));
    EXPECT_TRUE(shell.overview()->isShown());
    EXPECT_TRUE(w.log.hasInOrder({"fileSearch.dismiss", "panel.makeKeyAndOrderFront"}));

    // Switched off in Settings: nothing stays registered.
    shell.dockPreferences().setHotkeysEnabled(false);
    EXPECT_TRUE(shell.registeredChords().empty());
    EXPECT_TRUE(w.world.hotKeys.grabs().empty());
}

TEST_F(ShellCallbacks, ACommandClickOnADockClosesBothSearchesAndTogglesTheOverview) {
    w.launch();
    const std::uint64_t panel = *w.shell->dock()->panelSerial(w.shell->dock()->panelKeys().front());
    w.shell->appSearch()->show();
    w.log.clear();
    ASSERT_TRUE(w.world.panels.commandClick(panel));
    EXPECT_FALSE(w.shell->appSearch()->isShown());
    EXPECT_TRUE(w.log.hasInOrder({"fileSearch.dismiss", "panel.makeKeyAndOrderFront"}));
    EXPECT_TRUE(w.shell->overview()->isShown());
    ASSERT_TRUE(w.world.panels.commandClick(panel));
    EXPECT_TRUE(w.log.hasInOrder({"panel.makeKeyAndOrderFront", "fileSearch.dismiss"}));
    EXPECT_FALSE(w.shell->overview()->isShown());
    EXPECT_EQ(w.log.count("panel.makeKeyAndOrderFront"), 1) << "the overview's; the shortcut sheet stays as it was";
}

}  // namespace
}  // namespace quillbern
