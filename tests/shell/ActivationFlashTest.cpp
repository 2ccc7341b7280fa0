#include <gtest/gtest.h>

#include "core/shell/ActivationFlash.h"
#include "shell/ShellWorld.h"
#include "sim/SimClock.h"

namespace quillbern {
namespace {

constexpr Pid kOwn = 4242;
constexpr Pid kEditor = 50;
constexpr Pid kHelper = 51;

WindowInfo window(Pid pid, WindowId id, bool focused = false) {
    WindowInfo info;
    info.id = id;
    info.pid = pid;
    info.appName = "Editor";
    info.isFocused = focused;
    return info;
}

class Flash : public ::testing::Test {
protected:
    SimClock clock;
    ActivationFlash flash{clock};
    WindowSnapshot snapshot{{window(kEditor, 7), window(kEditor, 8, true)}};

    std::optional<WindowId> activate(Pid activated, ActivationFlash& into) {
        into.noteActivation(activated, kOwn);
        const auto chosen = into.target(snapshot);
        return chosen ? std::optional<WindowId>(chosen->window.id) : std::nullopt;
    }
    std::optional<WindowId> activate(Pid activated) { return activate(activated, flash); }
};

TEST_F(Flash, TheFirstActivationFlashesTheWindowItFocused) {
    clock.advance(0.25);
    EXPECT_EQ(activate(kEditor), 8u);
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
        EXPECT_FALSE(activate(kEditor, fresh)) << quiet.name << " at once";
        clock.advance(quiet.period);
        EXPECT_FALSE(activate(kEditor, fresh)) << quiet.name << " at its end";
        clock.advance(0.01);
        EXPECT_TRUE(activate(kEditor, fresh)) << quiet.name << " after it";
    }
    EXPECT_EQ(ActivationFlash::kQuietAfterClick, 0.5);
    EXPECT_EQ(ActivationFlash::kQuietAfterDesktopSwitch, 1.0);
    EXPECT_EQ(ActivationFlash::kQuietAfterOwnRaise, 2.0);
}

TEST_F(Flash, OurOwnActivationNeverFlashes) {
    snapshot.windows.push_back(window(kOwn, 3, true));
    EXPECT_FALSE(activate(kOwn));
}

TEST_F(Flash, TheFocusedWindowOfTheActivatedProcessIsAwaitedOnceForASecondAtMost) {
    // Told before the windows are read again: no window of its own is focused yet, and
    // another process's focused window is not its own, whatever application it belongs to.
    snapshot = WindowSnapshot{{window(kEditor, 7), window(kHelper, 5, true)}};
    EXPECT_FALSE(activate(kEditor));
    snapshot.windows.push_back(window(kEditor, 8, true));
    clock.advance(0.1);
    const auto target = flash.target(snapshot);
    ASSERT_TRUE(target);
    EXPECT_EQ(target->window.id, 8u);
    EXPECT_EQ(target->waited, 0.1) << "the flash's delay counts from the activation";
    EXPECT_FALSE(flash.target(snapshot)) << "once";

    snapshot = WindowSnapshot{{window(kEditor, 7)}};
    EXPECT_FALSE(activate(kEditor));
    clock.advance(ActivationFlash::kFocusWait + 0.01);
    snapshot.windows.push_back(window(kEditor, 8, true));
    EXPECT_FALSE(flash.target(snapshot)) << "too late";
}

// Through the shell: its feeds stamp the quiet periods, and the spotlight shows the flash.
class ShellFlash : public ::testing::Test {
protected:
    testing::ShellWorld w;
    static constexpr RectTL kNotes{40, 30, 500, 400};
    ElementRef notes;

    void SetUp() override {
        RunningApp app;
        app.pid = kEditor;
        app.name = "Editor";
        app.appId = "org.example.Editor";
        w.world.apps.launch(app);
        notes = w.windows.addWindow(kEditor, {.id = 8, .title = "Notes", .frame = kNotes});
        w.process.setPid(kOwn);
        w.world.defaults.set("appearanceSpotlight", true);
        w.launch();
        w.advance(5);
        ASSERT_EQ(w.shell->engine().snapshot().windows.size(), 1u);
    }
    // Long enough for a requested flash to show.
    void activateAndWait(Duration seconds = FocusSpotlight::kDelay) {
        w.bringForward(kEditor, notes);
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

TEST_F(ShellFlash, TheWindowThatCameForwardIsLitNotTheOneItsApplicationHadFocusedBefore) {
    const ElementRef drafts = w.windows.addWindow(kEditor, {.id = 9, .title = "Drafts", .frame = {700, 30, 400, 300}});
    RunningApp other;
    other.pid = 60;
    other.name = "Other";
    w.world.apps.launch(other);
    const ElementRef otherWindow = w.windows.addWindow(60, {.id = 10, .title = "Other", .frame = {300, 500, 300, 200}});
    for (const auto& [pid, window] : {std::pair{kEditor, drafts}, std::pair{Pid(60), otherWindow}}) {
        w.bringForward(pid, window);
        w.advance(2);
    }
    activateAndWait();
    ASSERT_EQ(flashes(), 3u);
    EXPECT_EQ(w.veilPanels().back()->veilHole, (Rect{40, 30, 500, 400}));
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
    // Long enough for a flash to have closed its veil: focus mode's stay open.
    activateAndWait(2);
    for (const SimPanelState* veil : w.veilPanels())
        EXPECT_FALSE(veil->closed) << "focus mode's own veils alone";
    w.shell->focusMode()->setActive(false);
    const std::size_t veils = flashes();
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
