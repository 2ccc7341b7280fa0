#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <cstdlib>
#include <future>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

#include "Backends.h"
#include "X11TestSupport.h"
#include "core/foundation/Localization.h"
#include "core/shortcuts/ProfileHotKeys.h"
#include "linux/icu/IcuTextServices.h"
#include "linux/qt/QtKeyboardGrabber.h"
#include "linux/x11/KeyCodeTable.h"
#include "linux/x11/X11HotKeys.h"
#include "linux/x11/X11KeyboardLayout.h"
#include "linux/x11/XcbConnection.h"
#include "sim/SimAlerts.h"
#include "sim/SimLog.h"
#include "ui/settings/ShortcutRecorderView.h"
#include "ui/shell/ShellWindowContext.h"

using namespace quillbern;
using namespace quillbern::test;

namespace {

constexpr std::uint32_t kCC = HotKeyChord::kControlCommand;
constexpr KeyCode kDigit1 = 18, kDigit2 = 19, kDigit3 = 20;

// Our keyboard backends on the test's own connection, and every hot-key event they report.
struct Keys {
    Keys() : keyboard(*x.connection), hotKeys(*x.connection, keyboard, x.userTime) {
        EXPECT_EQ(hotKeys.setHandler([this](const HotKeyEvent& event) { events.push_back(event); }), 0);
    }

    Backends x;
    X11KeyboardLayout keyboard;
    X11HotKeys hotKeys;
    std::vector<HotKeyEvent> events;
};

// A catalogue that writes every text it is asked for with its context before it.
class ContextMarkingLocalizer final : public Localizer {
public:
    ContextMarkingLocalizer() : previous_(setLocalizer(this)) {}
    ~ContextMarkingLocalizer() override { setLocalizer(previous_); }

    std::string translate(std::string_view english) const override { return translateInContext("", english); }
    std::string translatePlural(std::string_view singular, std::string_view plural,
                                unsigned long long count) const override {
        return translate(count == 1 ? singular : plural);
    }
    std::string translateInContext(std::string_view context, std::string_view english) const override {
        return std::string(context) + "|" + std::string(english);
    }

private:
    Localizer* previous_;
};

// Another client with a connection of its own, as an application holding a chord.
class OtherClient {
public:
    OtherClient() : c_(xcb_connect(nullptr, nullptr)) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
    }
    ~OtherClient() { xcb_disconnect(c_); }
    // Grabs our key code with X modifier bits; true when the server agreed.
    bool grab(KeyCode key, std::uint16_t modifiers) {
        xcb_generic_error_t* error =
            xcb_request_check(c_, xcb_grab_key_checked(c_, 0, root_, modifiers, *xKeycodeForKey(key),
                                                       XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        std::free(error);
        return error == nullptr;
    }
    // Whether the whole keyboard could be held, as a menu opening holds it; let go at once.
    bool couldHoldKeyboard() {
        const auto reply = xcb_grab_keyboard_reply(
            c_, xcb_grab_keyboard(c_, 0, root_, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC), nullptr);
        const bool held = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
        std::free(reply);
        roundTrip(xcb_ungrab_keyboard(c_, XCB_CURRENT_TIME));
        return held;
    }
    // Holds the whole server: it answers no other client until released. Each returns once
    // the server has done it.
    void grabServer() { roundTrip(xcb_grab_server(c_)); }
    void ungrabServer() { roundTrip(xcb_ungrab_server(c_)); }

private:
    void roundTrip(xcb_void_cookie_t) { std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr)); }

    xcb_connection_t* c_;
    xcb_window_t root_;
};

constexpr std::uint16_t kControlSuper = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_4;

// Runs a command now and another one when the test ends, however it ends.
class Restoring {
public:
    Restoring(const std::vector<std::string>& now, std::vector<std::string> atEnd) : atEnd_(std::move(atEnd)) {
        EXPECT_EQ(run(now), 0);
    }
    ~Restoring() { run(atEnd_); }

private:
    std::vector<std::string> atEnd_;
};

}  // namespace

TEST(X11HotKeys, AChordTypedAnywhereArrivesAsOnePressAndOneReleaseWhateverTheLocks) {
    Keys k;
    auto grab = k.hotKeys.grab(kDigit1, kCC, 7);
    ASSERT_EQ(grab.status, HotKeyRegistration::Status::grabbed);
    ASSERT_EQ(run({"xdotool", "key", "ctrl+super+1"}), 0);
    ASSERT_TRUE(spinUntil([&] { return k.events.size() == 2; }));
    EXPECT_EQ(k.events, (std::vector<HotKeyEvent>{{true, 7}, {false, 7}}));
    EXPECT_NE(k.x.userTime.requestTime(), 0u) << "a request the chord causes carries its time";

    // With Num Lock and Caps Lock on, the same chord.
    {
        Restoring locks({"xdotool", "key", "Num_Lock", "key", "Caps_Lock"},
                        {"xdotool", "key", "Num_Lock", "key", "Caps_Lock"});
        ASSERT_EQ(run({"xdotool", "key", "ctrl+super+1"}), 0);
        ASSERT_TRUE(spinUntil([&] { return k.events.size() == 4; }));
    }

    // Other modifiers make another chord; a release of the modifiers first still ends it.
    ASSERT_EQ(run({"xdotool", "key", "ctrl+alt+super+1", "key", "super+1"}), 0);
    ASSERT_EQ(run({"xdotool", "keydown", "ctrl+super+1", "keyup", "ctrl+super", "keyup", "1"}), 0);
    ASSERT_TRUE(spinUntil([&] { return k.events.size() == 6; }));
    EXPECT_EQ(k.events[4], (HotKeyEvent{true, 7}));
    EXPECT_EQ(k.events[5], (HotKeyEvent{false, 7}));

    // Given back, the chord goes to the focused window again: a chord still held, typed
    // after it, arrives alone.
    auto held = k.hotKeys.grab(kDigit2, kCC, 8);
    ASSERT_EQ(held.status, HotKeyRegistration::Status::grabbed);
    grab.grab.reset();
    ASSERT_EQ(run({"xdotool", "key", "ctrl+super+1", "key", "ctrl+super+2"}), 0);
    ASSERT_TRUE(spinUntil([&] { return k.events.size() >= 8; }));
    EXPECT_EQ(k.events[6], (HotKeyEvent{true, 8}));
    EXPECT_EQ(k.events.size(), 8u);
}

TEST(X11HotKeys, HoldingAChordPastTheKeyboardsRepeatIsStillOnePress) {
    Keys k;
    auto grab = k.hotKeys.grab(35, kCC, 3);
    ASSERT_EQ(grab.status, HotKeyRegistration::Status::grabbed);
    ASSERT_EQ(run({"xdotool", "keydown", "ctrl+super+p"}), 0);
    ASSERT_TRUE(spinUntil([&] { return !k.events.empty(); }));
    spinFor(1500);  // the server repeats a held key after 660 ms, 25 times a second
    ASSERT_EQ(run({"xdotool", "keyup", "p", "keyup", "ctrl+super"}), 0);
    // Repeats would have come before the release.
    ASSERT_TRUE(spinUntil([&] { return k.events.size() >= 2; }));
    EXPECT_EQ(k.events, (std::vector<HotKeyEvent>{{true, 3}, {false, 3}}));
}

TEST(X11HotKeys, AChordAnotherClientHoldsIsRefusedWholeAndLoggedWhileTheOthersWork) {
    Keys k;
    OtherClient other;
    // Only the Num Lock state of Control-Super-2: our other variants must be given back.
    ASSERT_TRUE(other.grab(kDigit2, kControlSuper | k.keyboard.modifierMasks().numLock));

    SimLog log;
    IcuTextServices text;
    ChordText chords(k.keyboard, text);
    std::vector<std::pair<HotKeyAction, bool>> reports;
    const HotKeyAction dock1 = HotKeyAction::profile(*Uuid::parse("AAAAAAAA-0000-4000-8000-000000000001"));
    const HotKeyAction dock2 = HotKeyAction::profile(*Uuid::parse("AAAAAAAA-0000-4000-8000-000000000002"));
    ProfileHotKeys registration(
        k.hotKeys, chords, {{dock1, {kDigit1, kCC}, false, "Main"}, {dock2, {kDigit2, kCC}, false, "Work"}},
        [&](const HotKeyAction& action, bool pressed) { reports.emplace_back(action, pressed); });
    EXPECT_EQ(registration.registered(), (RegisteredChords{{dock1, {kDigit1, kCC}}}));
    EXPECT_EQ(registration.refused(), (RegisteredChords{{dock2, {kDigit2, kCC}}}));
    EXPECT_EQ(log.count("the global shortcut Ctrl+Super+2 (Work) does not work: another application has taken it"), 1);

    OtherClient third;
    EXPECT_TRUE(third.grab(kDigit2, kControlSuper)) << "the variants we did get were given back";

    ASSERT_EQ(run({"xdotool", "key", "ctrl+super+1"}), 0);
    ASSERT_TRUE(spinUntil([&] { return reports.size() == 2; }));
    EXPECT_EQ(reports[0], std::pair(dock1, true));
    EXPECT_EQ(reports[1], std::pair(dock1, false));
    registration.shutdown();
}

TEST(X11HotKeys, AGrabTheServerDoesNotAnswerInTimeIsRefusedAndGivenBackWhenItIsMade) {
    Keys k;
    OtherClient holder;
    holder.grabServer();
    // Should the grab wait for the server regardless, the server is let go in the end.
    std::promise<void> returned;
    std::thread releaser([&holder, returned = returned.get_future()] {
        returned.wait_for(std::chrono::seconds(20));
        holder.ungrabServer();
    });
    const HotKeyRegistration registration = k.hotKeys.grab(kDigit1, kCC, 1);
    returned.set_value();
    releaser.join();
    EXPECT_EQ(registration.status, HotKeyRegistration::Status::unanswered);

    // The server has made the late grab by now, and given it back.
    ASSERT_TRUE(k.x.connection->connection().sync(std::chrono::steady_clock::now() + std::chrono::seconds(60)));
    OtherClient other;
    EXPECT_TRUE(other.grab(kDigit1, kControlSuper));
}

TEST(X11HotKeys, WhileSuspendedTheChordsAreFreeAndNewGrabsOnlyTellWhetherTheyCouldBe) {
    Keys k;
    auto one = k.hotKeys.grab(kDigit1, kCC, 1);
    ASSERT_EQ(one.status, HotKeyRegistration::Status::grabbed);
    k.hotKeys.setSuspended(true);
    {
        OtherClient other;
        EXPECT_TRUE(other.grab(kDigit1, kControlSuper)) << "a suspended chord is free for others";
        EXPECT_EQ(k.hotKeys.grab(kDigit1, kCC, 2).status, HotKeyRegistration::Status::taken);
    }
    auto three = k.hotKeys.grab(kDigit3, kCC, 3);
    EXPECT_EQ(three.status, HotKeyRegistration::Status::grabbed);
    {
        OtherClient other;
        EXPECT_TRUE(other.grab(kDigit3, kControlSuper)) << "grabbed while suspended, it is not kept";
    }
    // A press that got through while suspended would come before those typed after.
    ASSERT_EQ(run({"xdotool", "key", "ctrl+super+1"}), 0);

    k.hotKeys.setSuspended(false);
    ASSERT_EQ(run({"xdotool", "key", "ctrl+super+1", "key", "ctrl+super+3"}), 0);
    ASSERT_TRUE(spinUntil([&] { return k.events.size() == 4; }));
    EXPECT_EQ(k.events[0], (HotKeyEvent{true, 1}));
    EXPECT_EQ(k.events[2], (HotKeyEvent{true, 3}));
}

TEST(X11HotKeys, GrabsFollowSuperToAnotherModifier) {
    Keys k;
    auto grab = k.hotKeys.grab(kDigit1, kCC, 1);
    ASSERT_EQ(grab.status, HotKeyRegistration::Status::grabbed);
    ASSERT_EQ(k.keyboard.modifierMasks().super, XCB_MOD_MASK_4);
    {
        Restoring mod3({"xmodmap", "-e", "remove mod4 = Super_L Super_R", "-e", "add mod3 = Super_L Super_R"},
                       {"xmodmap", "-e", "remove mod3 = Super_L Super_R", "-e", "add mod4 = Super_L Super_R"});
        ASSERT_TRUE(spinUntil([&] { return k.keyboard.modifierMasks().super == XCB_MOD_MASK_3; }));
        ASSERT_EQ(run({"xdotool", "key", "ctrl+super+1"}), 0);
        ASSERT_TRUE(spinUntil([&] { return k.events.size() == 2; }));
    }
    ASSERT_TRUE(spinUntil([&] { return k.keyboard.modifierMasks().super == XCB_MOD_MASK_4; }));
    ASSERT_EQ(run({"xdotool", "key", "ctrl+super+1"}), 0);
    ASSERT_TRUE(spinUntil([&] { return k.events.size() == 4; }));
}

TEST(X11KeyboardLayout, KeyLabelsFollowTheServersLayout) {
    Keys k;
    IcuTextServices text;
    const ChordText chords(k.keyboard, text);
    EXPECT_EQ(chords.display({0, kCC}), "Ctrl+Super+A");
    EXPECT_EQ(chords.display({kDigit1, kCC}), "Ctrl+Super+1");
    EXPECT_EQ(chords.keyLabel(41), ";");
    EXPECT_EQ(chords.keyLabel(49), "Space");
    {
        Restoring french({"setxkbmap", "fr"}, {"setxkbmap", "us"});
        ASSERT_TRUE(spinUntil([&] { return chords.keyLabel(0) == "Q"; }));
        EXPECT_EQ(chords.keyLabel(12), "A");
        EXPECT_EQ(chords.keyLabel(kDigit2), "É");
        EXPECT_EQ(chords.keyLabel(33), "^") << "the dead circumflex shows as itself";
        EXPECT_EQ(chords.keyLabel(49), "Space");
    }
    ASSERT_TRUE(spinUntil([&] { return chords.keyLabel(0) == "A"; }));
    EXPECT_EQ(k.keyboard.translate(1000).status, KeyTranslation::Status::failed) << "a code no key has";

    // Keys by what the layout calls them without modifiers, those outside our table too, each
    // name from the catalogue's key names: whatever key is pressed, no name shows in English
    // alone.
    const ContextMarkingLocalizer marking;
    for (std::uint32_t keycode = 8; keycode <= 0xFF; ++keycode) {
        const std::string name = k.keyboard.keyName(keycode);
        EXPECT_TRUE(name.empty() || name.starts_with("keyboard key|")) << keycode << ": " << name;
    }
    EXPECT_EQ(k.keyboard.keyName(107), "keyboard key|Print");
    EXPECT_EQ(k.keyboard.keyName(77), "keyboard key|Num Lock");
    EXPECT_EQ(k.keyboard.keyName(172), "keyboard key|Play");
    EXPECT_EQ(k.keyboard.keyName(100), "keyboard key|Henkan");
}

TEST(X11ShortcutRecorder, WhileListeningItHoldsTheKeyboardSoAChordAnotherClientGrabsReachesIt) {
    Keys k;
    OtherClient other;
    constexpr KeyCode kJ = 38;
    const std::uint16_t ctrlAlt = XCB_MOD_MASK_CONTROL | k.keyboard.modifierMasks().alt;
    ASSERT_TRUE(other.grab(kJ, ctrlAlt));
    IcuTextServices text;
    const ChordText chords(k.keyboard, text);
    SimAlerts alerts;
    QtKeyboardGrabber keyboard;
    std::vector<HotKeyChord> recorded;
    QWidget window;
    window.setWindowTitle("Recorder");
    auto* view = new ShortcutRecorderView(
        std::make_unique<ShortcutRecorder>(
            alerts, k.hotKeys, keyboard, chords,
            ShortcutRecorder::Callbacks{
                [&recorded](const HotKeyChord& chord) { recorded.push_back(chord); }, {}, {}, {}}),
        k.keyboard, &window);
    ShortcutRecorder& recorder = view->recorder();
    window.resize(200, 60);
    bringForward(window);
    ASSERT_TRUE(spinUntil([&] { return QGuiApplication::focusWindow() == window.windowHandle(); }));
    const auto click = [view] {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), view->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &press);
    };

    click();
    ASSERT_TRUE(recorder.isListening());
    EXPECT_FALSE(other.couldHoldKeyboard());
    ASSERT_EQ(run({"xdotool", "key", "ctrl+alt+j"}), 0);
    ASSERT_TRUE(spinUntil([&] { return !recorded.empty(); }));
    EXPECT_EQ(recorded, (std::vector<HotKeyChord>{{kJ, HotKeyChord::kControl | HotKeyChord::kOption}}));
    // Qt sends the release when its loop next runs.
    const auto letGo = [&other] { return spinUntil([&other] { return other.couldHoldKeyboard(); }); };
    EXPECT_TRUE(letGo()) << "once the chord is taken";

    // However listening ends, the keyboard is let go: Escape, a hidden window.
    click();
    ASSERT_FALSE(other.couldHoldKeyboard());
    ASSERT_EQ(run({"xdotool", "key", "Escape"}), 0);
    ASSERT_TRUE(spinUntil([&] { return !recorder.isListening(); }));
    EXPECT_TRUE(letGo());
    click();
    ASSERT_FALSE(other.couldHoldKeyboard());
    window.hide();
    EXPECT_FALSE(recorder.isListening());
    EXPECT_TRUE(letGo());
}
