#include <gtest/gtest.h>

#include "core/shell/ActivationFlash.h"
#include "shell/ShellWorld.h"
#include "sim/SimClock.h"

namespace quillbern {
namespace {

constexpr Pid kOwn = 4242;
constexpr Pid kEditor = 50;
constexpr Pid kHelper = 51;

WindowInfo window(Pid pid, WindowId id, bool main = false, bool minimized = false) {
    WindowInfo info;
    info.id = id;
    info.pid = pid;
    info.appName = "Editor";
    info.isMinimized = minimized;
    info.isAppMain = main;
    return info;
}

class Flash : public ::testing::Test {
protected:
    SimClock clock;
    ActivationFlash flash{clock};
    WindowSnapshot snapshot{{window(kEditor, 8, true)}};

    std::optional<WindowId> target(Pid activated, const std::map<Pid, AppId>& owners = {}) const {
        const auto chosen = flash.target(activated, kOwn, snapshot, owners);
        return chosen ? std::optional<WindowId>(chosen->id) : std::nullopt;
    }
};

TEST_F(Flash, TheFirstActivationFlashes) {
    clock.advance(0.25);
    EXPECT_EQ(target(kEditor), 8u);
}

TEST_F(Flash, EachQuietPeriodHoldsUpToAndIncludingItsEnd) {
    struct Quiet {
        const char* name;
        void (ActivationFlash::*note)();
        Duration period;
    };
    for (const Quiet& quiet :
         {Quiet{"click", &ActivationFlash::noteClick, ActivationFlash::kQuietAfterClick},
          Quiet{"desktop switch", &ActivationFlash::noteDesktopSwitch, ActivationFlash::kQuietAfterDesktopSwitch},
          Quiet{"own raise", &ActivationFlash::noteOwnRaise, ActivationFlash::kQuietAfterOwnRaise}}) {
        ActivationFlash fresh(clock);
        (fresh.*quiet.note)();
        EXPECT_FALSE(fresh.target(kEditor, kOwn, snapshot, {})) << quiet.name << " at once";
        clock.advance(quiet.period);
        EXPECT_FALSE(fresh.target(kEditor, kOwn, snapshot, {})) << quiet.name << " at its end";
        clock.advance(0.01);
        EXPECT_TRUE(fresh.target(kEditor, kOwn, snapshot, {})) << quiet.name << " after it";
    }
    EXPECT_EQ(ActivationFlash::kQuietAfterClick, 0.5);
    EXPECT_EQ(ActivationFlash::kQuietAfterDesktopSwitch, 1.0);
    EXPECT_EQ(ActivationFlash::kQuietAfterOwnRaise, 2.0);
}

TEST_F(Flash, OurOwnActivationNeverFlashes) {
    snapshot.windows.push_back(window(kOwn, 3, true));
    EXPECT_FALSE(target(kOwn));
}

TEST_F(Flash, TheMainWindowWinsThenTheFirstShownOneAndMinimisedOnesNever) {
    snapshot = WindowSnapshot{{window(kEditor, 5), window(kEditor, 6, true, true), window(kEditor, 7, true)}};
    EXPECT_EQ(target(kEditor), 7u);
    snapshot = WindowSnapshot{{window(kEditor, 5, false, true), window(kEditor, 6), window(kEditor, 7)}};
    EXPECT_EQ(target(kEditor), 6u);
    snapshot = WindowSnapshot{{window(kEditor, 5, true, true), window(kEditor, 6, false, true)}};
    EXPECT_FALSE(target(kEditor));
    snapshot = WindowSnapshot{{window(99, 5, true)}};
    EXPECT_FALSE(target(kEditor)) << "no window of its own";
}

TEST_F(Flash, WindowsOfAProcessWithTheSameOwnerCountAsTheApplications) {
    snapshot = WindowSnapshot{{window(kHelper, 5, true), window(77, 6, true)}};
    const std::map<Pid, AppId> owners{
        {kEditor, "org.example.Editor"}, {kHelper, "org.example.Editor"}, {77, "org.example.Other"}};
    EXPECT_EQ(target(kEditor, owners), 5u);
    EXPECT_FALSE(target(kEditor, {{kHelper, "org.example.Editor"}})) << "the activated process has no owner";
    EXPECT_FALSE(target(kEditor, {{kEditor, "org.example.Editor"}})) << "the helper has no owner";
}

TEST_F(Flash, AnotherProcessOfTheSameApplicationDoesNotTakeTheFlash) {
    // Two terminals, each in a process of its own, of one application: the one that came
    // forward is lit, though the other's window comes first in the snapshot.
    snapshot = WindowSnapshot{{window(kHelper, 5, true), window(kEditor, 6, true)}};
    const std::map<Pid, AppId> owners{{kEditor, "org.example.Terminal"}, {kHelper, "org.example.Terminal"}};
    EXPECT_EQ(target(kEditor, owners), 6u);
    EXPECT_EQ(target(kHelper, owners), 5u);
    // Its own shown window wins over another process's main one.
    snapshot = WindowSnapshot{{window(kHelper, 5, true), window(kEditor, 6)}};
    EXPECT_EQ(target(kEditor, owners), 6u);
    // With only minimised windows of its own, the other process's window serves.
    snapshot = WindowSnapshot{{window(kHelper, 5, true), window(kEditor, 6, true, true)}};
    EXPECT_EQ(target(kEditor, owners), 5u);
}

// Through the shell: its feeds stamp the quiet periods, and the spotlight shows the flash.
class ShellFlash : public ::testing::Test {
protected:
    testing::ShellWorld w;
    static constexpr RectTL kNotes{40, 30, 500, 400};

    void SetUp() override {
        RunningApp app;
        app.pid = kEditor;
        app.name = "Editor";
        app.appId = "org.example.Editor";
        w.world.apps.launch(app);
        w.windows.addWindow(kEditor, {.id = 8, .title = "Notes", .frame = kNotes});
        w.process.setPid(kOwn);
        w.world.defaults.set("appearanceSpotlight", true);
        w.launch();
        w.advance(5);
        ASSERT_EQ(w.shell->engine().snapshot().windows.size(), 1u);
    }
    // Long enough for a requested flash to show.
    void activateAndWait(Duration seconds = FocusSpotlight::kDelay) {
        w.world.apps.activateByUser(kEditor);
        w.advance(seconds);
    }
    std::size_t flashes() const { return w.veilPanels().size(); }
};

TEST_F(ShellFlash, AnotherApplicationComingForwardFlashesItsWindow) {
    activateAndWait();
    const auto veils = w.veilPanels();
    ASSERT_EQ(veils.size(), 1u);
    EXPECT_TRUE(veils[0]->visible);
    // The only screen is the primary: its view coordinates are the window's own.
    EXPECT_EQ(veils[0]->veilHole, (Rect{40, 30, 500, 400}));
}

TEST_F(ShellFlash, TheSpotlightSettingSwitchesItOnAndOff) {
    w.shell->appearance().setSpotlightEnabled(false);
    activateAndWait();
    EXPECT_EQ(flashes(), 0u);
    w.shell->appearance().setSpotlightEnabled(true);
    activateAndWait();
    EXPECT_EQ(flashes(), 1u);
}

TEST_F(ShellFlash, AClickAnywhereQuietensIt) {
    MouseDown press;
    press.button = kRightButton;
    w.world.events.injectGlobalMouseDown(press);
    w.world.runUntilIdle();
    activateAndWait(ActivationFlash::kQuietAfterClick + 0.01);
    press.button = kOtherButton;
    w.world.events.injectLocalMouseDown(press);
    activateAndWait(ActivationFlash::kQuietAfterClick + 0.01);
    EXPECT_EQ(flashes(), 0u);
    activateAndWait();
    EXPECT_EQ(flashes(), 1u);
}

TEST_F(ShellFlash, ADesktopSwitchQuietensIt) {
    w.session.fire(SessionEvent::desktopChanged);
    activateAndWait(ActivationFlash::kQuietAfterDesktopSwitch + 0.01);
    EXPECT_EQ(flashes(), 0u);
    activateAndWait();
    EXPECT_EQ(flashes(), 1u);
}

TEST_F(ShellFlash, FocusModeAndOurOwnActivationStayDark) {
    w.shell->focusMode()->setActive(true);
    ASSERT_TRUE(w.shell->focusMode()->isActive());
    const std::size_t veils = flashes();
    activateAndWait();
    EXPECT_EQ(flashes(), veils) << "focus mode's own veils at most";
    w.shell->focusMode()->setActive(false);
    RunningApp self;
    self.pid = kOwn;
    self.name = "Quillbern";
    w.world.apps.launch(self);
    w.world.apps.activateByUser(kOwn);
    w.advance(FocusSpotlight::kDelay);
    EXPECT_EQ(flashes(), veils);
}

}  // namespace
}  // namespace quillbern
