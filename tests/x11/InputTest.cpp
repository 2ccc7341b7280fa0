#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QThread>
#include <gtest/gtest.h>

#include "Backends.h"
#include "X11TestSupport.h"

using namespace quillbern;
using namespace quillbern::test;

TEST(X11Input, PointerInScreenSpaceAtTheEdges) {
    Backends x;
    ASSERT_EQ(run({"xdotool", "mousemove", "1500", "300"}), 0);
    EXPECT_EQ(x.input.pointer(), (PointBL{1500, 780}));
    // The bottom pixel row reads y = 1 and the top row the full height.
    ASSERT_EQ(run({"xdotool", "mousemove", "0", "1079"}), 0);
    EXPECT_EQ(x.input.pointer(), (PointBL{0, 1}));
    ASSERT_EQ(run({"xdotool", "mousemove", "2559", "0"}), 0);
    EXPECT_EQ(x.input.pointer(), (PointBL{2559, 1080}));
}

TEST(X11Input, MotionAnywhereIsToldAndKeepsThePointerCurrentWhileSomeoneListens) {
    Backends x;
    TestClient client({"--class", "target", "--geometry", "300x200+1400+200"});
    ASSERT_TRUE(client.started());
    ASSERT_EQ(run({"xdotool", "mousemove", "100", "100"}), 0);
    int moves = 0;
    Subscription motion = x.input.onPointerMotion([&] { ++moves; });
    ASSERT_TRUE(motion);
    ASSERT_TRUE(spinUntil([&] { return x.input.pointer() == PointBL{100, 980}; }));

    // A device moving it over another application's window: the copy follows untold.
    int before = moves;
    ASSERT_EQ(run({"xdotool", "mousemove_relative", "1400", "100"}), 0);
    ASSERT_TRUE(spinUntil([&] { return moves > before; }));
    EXPECT_TRUE(spinUntil([&] { return x.input.pointer() == PointBL{1500, 880}; }));
    // A warp over the desktop.
    before = moves;
    ASSERT_EQ(run({"xdotool", "mousemove", "0", "1079"}), 0);
    ASSERT_TRUE(spinUntil([&] { return moves > before; }));
    EXPECT_TRUE(spinUntil([&] { return x.input.pointer() == PointBL{0, 1}; }));
    // A device (here XTest, as remote desktops move it) onto a window that takes its own
    // motion, as the frames of xfwm4 and metacity do: no motion event reaches the root, and
    // still it is told.
    TestClient follower({"--class", "follower", "--geometry", "400x200+200+880", "--motion", "--unmanaged"});
    ASSERT_TRUE(follower.started());
    before = moves;
    ASSERT_EQ(run({"xdotool", "mousemove_relative", "300", "0"}), 0);
    ASSERT_TRUE(spinUntil([&] { return moves > before; }));
    EXPECT_EQ(x.input.pointer(), (PointBL{300, 1}));
    // A jump read before the motion is handled: the copy is behind, the server is not.
    ASSERT_EQ(run({"xdotool", "mousemove", "1900", "500"}), 0);
    EXPECT_EQ(x.input.pointerNow(), (PointBL{1900, 580}));

    // Nobody listening: nothing told, and the pointer is asked for.
    motion.reset();
    const int after = moves;
    const std::uint32_t presses = x.input.pressCount();
    ASSERT_EQ(run({"xdotool", "mousemove", "700", "700", "mousemove_relative", "5", "0", "click", "1"}), 0);
    EXPECT_EQ(x.input.pointer(), (PointBL{705, 380}));
    // The press comes after the motion on the same connection.
    ASSERT_TRUE(spinUntil([&] { return x.input.pressCount() != presses; }));
    EXPECT_EQ(moves, after);
}

TEST(X11Input, ClicksOnAnotherWindowAreSeenInScreenSpaceAndCountedWithoutTheWheel) {
    Backends x;
    TestClient client({"--class", "target", "--geometry", "300x200+1400+200"});
    ASSERT_TRUE(client.started());
    std::vector<MouseDown> seen;
    Subscription monitor =
        x.events.onGlobalMouseDown(kLeftButton | kRightButton, [&](const MouseDown& d) { seen.push_back(d); });
    ASSERT_TRUE(monitor);
    const std::uint32_t before = x.input.pressCount();

    ASSERT_EQ(run({"xdotool", "mousemove", "1500", "300", "click", "1"}), 0);
    ASSERT_TRUE(spinUntil([&] { return seen.size() == 1; }));
    EXPECT_EQ(seen[0].location, (PointBL{1500, 780}));
    EXPECT_EQ(seen[0].button, kLeftButton);
    EXPECT_FALSE(seen[0].ownPanel);
    EXPECT_TRUE(client.waitForLine("press 1")) << "the monitor watches; the click still reaches the window";
    EXPECT_EQ(x.input.pressCount() - before, 1u);

    // Wheel steps are neither clicks nor presses; a middle click counts but is not watched.
    ASSERT_EQ(run({"xdotool", "click", "4", "click", "5", "click", "2", "click", "3"}), 0);
    ASSERT_TRUE(spinUntil([&] { return seen.size() == 2; }));
    EXPECT_EQ(seen[1].button, kRightButton);
    EXPECT_EQ(x.input.pressCount() - before, 3u);

    // Buttons held right now (the server takes a test's button events in its own time).
    ASSERT_EQ(run({"xdotool", "mousedown", "1"}), 0);
    EXPECT_TRUE(spinUntil([&] { return x.input.pressedButtons() == kLeftButton; }));
    ASSERT_EQ(run({"xdotool", "mouseup", "1"}), 0);
    EXPECT_TRUE(spinUntil([&] { return x.input.pressedButtons() == 0u; }));
}

TEST(X11Input, AChoiceInOurOwnMenuIsNoClickElsewhereEvenWhenTheMenuWentFirst) {
    Backends x;
    XProbe probe;
    TestClient client({"--class", "target", "--geometry", "300x200+1400+200"});
    ASSERT_TRUE(client.started());
    std::vector<MouseDown> seen;
    Subscription monitor = x.events.onGlobalMouseDown(kLeftButton, [&](const MouseDown& d) { seen.push_back(d); });
    int chosen = 0;
    // Our menus go once closed, as the pickers' do.
    const auto openMenu = [&] {
        auto menu = std::make_unique<QMenu>();
        QObject::connect(menu->addAction("Pin to Main"), &QAction::triggered, [&] { ++chosen; });
        menu->addAction("Open in Files");
        menu->popup(QPoint(1420, 220));
        EXPECT_TRUE(spinUntil([&] { return probe.isViewable(xcb_window_t(menu->winId())); }));
        return menu;
    };
    auto menu = openMenu();
    const QPoint item = menu->mapToGlobal(menu->actionGeometry(menu->actions().front()).center());

    // The click comes while our loop is busy: Qt takes the press and the release, and the
    // menu goes, before the monitor reads the raw press and asks what lies under it.
    ASSERT_EQ(run({"xdotool", "mousemove", std::to_string(item.x()), std::to_string(item.y()), "click", "1"}), 0);
    QElapsedTimer waited;
    waited.start();
    while ((chosen == 0 || menu->isVisible()) && waited.elapsed() < kWaitLimitMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
        QThread::msleep(1);
    }
    ASSERT_EQ(chosen, 1);
    menu.reset();
    // Presses are told in order: the next one told is this click on the client.
    ASSERT_EQ(run({"xdotool", "mousemove", "1650", "380", "click", "1"}), 0);
    ASSERT_TRUE(spinUntil([&] { return !seen.empty(); }));
    ASSERT_TRUE(client.waitForLine("press 1"));
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen.front().location, (PointBL{1650, 700}));

    // A click beside our open menu, which the menu grabs, is a click elsewhere.
    menu = openMenu();
    ASSERT_EQ(run({"xdotool", "click", "1"}), 0);
    EXPECT_TRUE(spinUntil([&] { return seen.size() == 2; }));
    EXPECT_FALSE(menu->isVisible());
}

TEST(X11Input, KeysByPhysicalPosition) {
    Backends x;
    constexpr KeyCode kA = 0, kCommand = 55;
    EXPECT_FALSE(x.input.isKeyDown(kA));
    ASSERT_EQ(run({"xdotool", "keydown", "a", "keydown", "Super_L"}), 0);
    EXPECT_TRUE(x.input.isKeyDown(kA));
    EXPECT_TRUE(x.input.isKeyDown(kCommand));
    ASSERT_EQ(run({"xdotool", "keyup", "a", "keyup", "Super_L"}), 0);
    EXPECT_FALSE(x.input.isKeyDown(kA));
    EXPECT_FALSE(x.input.isKeyDown(kCommand));
}

TEST(X11Input, AnotherApplicationsPopUpMenuCountsAsOpenWhileMapped) {
    Backends x;
    TestClient window({"--class", "plain", "--geometry", "200x100+100+100"});
    ASSERT_TRUE(window.started());
    EXPECT_FALSE(x.input.isMenuOpen()) << "an ordinary window is no menu";
    {
        TestClient menu({"--menu", "--geometry", "150x200+600+300"});
        ASSERT_TRUE(menu.started());
        EXPECT_TRUE(spinUntil([&] { return x.input.isMenuOpen(); }));
        // One open before we start watching counts too.
        X11InputState later(*x.connection, x.screens);
        EXPECT_TRUE(spinUntil([&] { return later.isMenuOpen(); }));
    }
    EXPECT_TRUE(spinUntil([&] { return !x.input.isMenuOpen(); }));
}

TEST(X11Input, TheKeyTapHearsKeysOfEveryApplicationInOurCodesAlsoDuringAGrab) {
    Backends x;
    constexpr KeyCode kA = 0, kReturn = 36, kEscape = 53, kCommand = 55;
    TestClient client({"--class", "typist", "--geometry", "300x200+1400+200"});
    ASSERT_TRUE(client.started());
    ASSERT_EQ(run({"xdotool", "windowactivate", "--sync", std::to_string(client.window())}), 0);
    std::vector<KeyTapEvent> heard;
    std::unique_ptr<KeyTap> tap = x.events.tapKeyDown([&](const KeyTapEvent& e) { heard.push_back(e); });
    ASSERT_TRUE(tap);
    // A second tap, always on, tells when a key has come through.
    std::vector<KeyTapEvent> witness;
    std::unique_ptr<KeyTap> other = x.events.tapKeyDown([&](const KeyTapEvent& e) { witness.push_back(e); });
    const auto down = [](KeyCode key) { return KeyTapEvent{KeyTapEvent::Kind::keyDown, key}; };

    // Typed into another application's window, by physical key; releases are not told.
    ASSERT_EQ(run({"xdotool", "key", "a", "key", "Return", "key", "Escape", "key", "Super_L"}), 0);
    ASSERT_TRUE(spinUntil([&] { return heard.size() >= 4; }));
    EXPECT_EQ(heard, (std::vector<KeyTapEvent>{down(kA), down(kReturn), down(kEscape), down(kCommand)}));
    EXPECT_EQ(witness, heard);

    // Disabled, the tap tells nothing.
    heard.clear();
    witness.clear();
    tap->setEnabled(false);
    ASSERT_EQ(run({"xdotool", "key", "a"}), 0);
    ASSERT_TRUE(spinUntil([&] { return witness.size() == 1; }));
    tap->setEnabled(true);
    ASSERT_EQ(run({"xdotool", "key", "Escape"}), 0);
    ASSERT_TRUE(spinUntil([&] { return witness.size() == 2; }));
    EXPECT_EQ(heard, std::vector<KeyTapEvent>{down(kEscape)});

    // While a button is held on the client, which holds the pointer grab that press gives
    // it, as a drag would.
    heard.clear();
    ASSERT_EQ(run({"xdotool", "mousemove", "1500", "300", "mousedown", "1"}), 0);
    ASSERT_TRUE(client.waitForLine("press 1"));
    ASSERT_EQ(run({"xdotool", "key", "Escape"}), 0);
    EXPECT_TRUE(spinUntil([&] { return heard == std::vector<KeyTapEvent>{down(kEscape)}; }));
    ASSERT_EQ(run({"xdotool", "mouseup", "1"}), 0);

    // The tap left hears on once the other is gone.
    heard.clear();
    witness.clear();
    tap.reset();
    ASSERT_EQ(run({"xdotool", "key", "Return"}), 0);
    EXPECT_TRUE(spinUntil([&] { return witness == std::vector<KeyTapEvent>{down(kReturn)}; }));
    EXPECT_TRUE(heard.empty());
}
