#include <QGuiApplication>
#include <QTimer>
#include <QToolTip>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <thread>

#include "Backends.h"
#include "X11TestSupport.h"
#include "core/platform/EasedValue.h"
#include "core/platform/FrameTicker.h"
#include "sim/ManualRunLoop.h"
#include "ui/foundation/PanelWidget.h"
#include "ui/foundation/QtX11.h"
#include "ui/foundation/XServerAnswer.h"

using namespace quillbern;
using namespace quillbern::test;

namespace {

// A dock-sized panel near the bottom of the right-hand monitor.
constexpr RectBL kDockFrame{1400, 14, 400, 90};
// The same rectangle in root coordinates: y = 1080 - (14 + 90).
constexpr RectTL kDockInRoot{1400, 976, 400, 90};
xcb_window_t inputFocus(const XProbe& probe) {
    xcb_get_input_focus_reply_t* reply = xcb_get_input_focus_reply(probe.c(), xcb_get_input_focus(probe.c()), nullptr);
    const xcb_window_t focus = reply ? reply->focus : xcb_window_t(XCB_WINDOW_NONE);
    std::free(reply);
    return focus;
}

std::unique_ptr<Panel> shownPanel(Backends& x, RectBL frame, PanelStyle style = {}) {
    auto panel = x.panels.createPanel(style, frame, PlainFill{{0.2, 0.4, 0.8, 1}});
    panel->orderFront();
    return panel;
}

}  // namespace

TEST(QtPanelHost, APanelRepaintsOnceTheServerAnswersWhileTheLoopGoesOn) {
    Backends x;
    XProbe probe;
    auto panel = shownPanel(x, kDockFrame);
    const auto shown = [&] { return probe.pixelAt(1500, 1000); };
    ASSERT_TRUE(spinUntil([&] { return shown() == 0x3366cc; }));
    // Qt reads the states the window manager gives the window as they change, waiting for
    // the server: those are done first.
    spinFor(300);

    // Another client holds the server: Qt's round trip before painting would wait for it.
    XProbe holder;
    xcb_grab_server(holder.c());
    std::free(xcb_get_input_focus_reply(holder.c(), xcb_get_input_focus(holder.c()), nullptr));
    std::atomic<bool> released = false;
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        released = true;
        xcb_ungrab_server(holder.c());
        xcb_flush(holder.c());
    });
    panel->setContent(PlainFill{{0.8, 0.2, 0.2, 1}});
    std::optional<bool> ranWhileHeld;
    QTimer::singleShot(50, [&] { ranWhileHeld = !released; });
    // Only the loop runs meanwhile: the probe's reads would wait for the server too.
    ASSERT_TRUE(spinUntil([&] { return ranWhileHeld.has_value(); }));
    release.join();
    EXPECT_TRUE(*ranWhileHeld) << "the loop went on while the server was held";
    EXPECT_TRUE(spinUntil([&] { return shown() == 0xcc3333; })) << "and the panel was repainted after";
}

namespace {

// Each look for the answer is a wake-up of the main thread.
class CountingLoop final : public RunLoop {
public:
    explicit CountingLoop(RunLoop& inner) : inner_(inner) {}
    void post(Task task) override { inner_.post(counted(std::move(task))); }
    Timer after(Duration delay, Task task) override { return inner_.after(delay, counted(std::move(task))); }
    Timer every(Duration interval, Task task, std::optional<Duration> firstDelay) override {
        return inner_.every(interval, counted(std::move(task)), firstDelay);
    }
    bool isCurrent() const override { return inner_.isCurrent(); }
    int runs = 0;

private:
    Task counted(Task task) {
        return [this, task = std::move(task)] {
            ++runs;
            task();
        };
    }
    RunLoop& inner_;
};

}  // namespace

TEST(XServerAnswer, AHeldServerIsLookedAtAFewTimesASecondForAnswersAndReadsAlike) {
    Backends x;
    SimClock clock;
    ManualRunLoop loop(clock);
    CountingLoop counting(loop);
    XServerAnswer answers(counting, clock);
    XProbe holder;
    xcb_grab_server(holder.c());
    std::free(xcb_get_input_focus_reply(holder.c(), xcb_get_input_focus(holder.c()), nullptr));

    bool answered = false;
    bool read = false;
    answers.whenAnswered([&] { answered = true; });
    answers.whenAllRead([&] { read = true; });
    clock.advance(1.0);
    EXPECT_FALSE(answered);
    EXPECT_FALSE(read) << "the request asked for the answer waits unread";
    EXPECT_LT(counting.runs, 30) << "looks while the server was held a second, for both";

    xcb_ungrab_server(holder.c());
    xcb_flush(holder.c());
    EXPECT_TRUE(spinUntil([&] {
        clock.advance(XServerAnswer::kLongestLook);
        return answered && read;
    })) << "the answer was taken, and all was read, once the server let go";
}

TEST(QtPanelHost, FramesWaitWhileAnotherClientHoldsTheServerAndGoOnOnceItLetsGo) {
    Backends x;
    CountingLoop counting(x.loop);
    FrameClock frames(counting, x.clock);
    QtPanelHost host(
        frames, [&x] { return x.screens.desktopSpace(); }, x.appearance, x.layout);
    EasedValue value;
    int redraws = 0;
    // As a frame does, each sends the server something.
    FrameTicker ticker(
        frames, [&](MediaTime now) { return value.isMoving(now); },
        [&] {
            ++redraws;
            xcb_no_operation(qtX11Connection());
        });
    XProbe holder;
    xcb_grab_server(holder.c());
    std::free(xcb_get_input_focus_reply(holder.c(), xcb_get_input_focus(holder.c()), nullptr));

    value.animateTo(1, {10.0, AnimationCurve::linear}, x.clock.mediaNow());
    ticker.kick();
    const int drawn = redraws;
    spinFor(1000);
    EXPECT_EQ(redraws, drawn) << "no frame while the server was held";
    EXPECT_LT(counting.runs, 30) << "the loop woke only to look whether the server read what it was sent";

    xcb_ungrab_server(holder.c());
    xcb_flush(holder.c());
    EXPECT_TRUE(spinUntil([&] { return redraws > drawn + 5; })) << "the frames went on once it let go";
}

TEST(QtPanelHost, APanelStandsExactlyWhereAskedOnEveryDesktopAsADock) {
    Backends x;
    XProbe probe;
    auto panel = shownPanel(x, kDockFrame);
    xcb_window_t window = XCB_WINDOW_NONE;
    ASSERT_TRUE(spinUntil([&] {
        window = panelWindow(x.panels, panel->serial());
        return window != XCB_WINDOW_NONE && probe.isViewable(window) && probe.geometry(window) == kDockInRoot;
    })) << "stands at "
        << probe.geometry(window).x << "," << probe.geometry(window).y;
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(probe.cardinals(window, "_NET_WM_DESKTOP"), std::vector<std::uint32_t>{0xFFFFFFFFu});
    EXPECT_EQ(probe.cardinals(window, "_NET_WM_WINDOW_TYPE"),
              std::vector<std::uint32_t>{probe.atom("_NET_WM_WINDOW_TYPE_DOCK")});
    EXPECT_TRUE(probe.cardinals(window, "_NET_WM_STRUT_PARTIAL").empty()) << "our panels reserve no space";

    // Switching desktops hides ordinary windows, not the panel.
    TestClient client({"--class", "other", "--geometry", "300x200+100+100"});
    ASSERT_TRUE(client.started());
    ASSERT_EQ(run({"xdotool", "set_desktop", "1"}), 0);
    EXPECT_TRUE(spinUntil([&] { return !probe.isViewable(client.window()); }));
    EXPECT_TRUE(probe.isViewable(window));
    ASSERT_EQ(run({"xdotool", "set_desktop", "0"}), 0);

    // Moving follows the same conversion; ordering out unmaps.
    panel->setFrame(RectBL{100, 500, 200, 60});
    EXPECT_TRUE(spinUntil([&] { return probe.geometry(window) == RectTL{100, 520, 200, 60}; }));
    panel->orderOut();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(spinUntil([&] { return !probe.isViewable(window); }));
}

TEST(QtPanelHost, APanelKeepsItsTypeStatesAndDesktopThroughHideAndReveal) {
    Backends x;
    XProbe probe;
    auto panel = shownPanel(x, kDockFrame);
    xcb_window_t window = XCB_WINDOW_NONE;
    ASSERT_TRUE(spinUntil([&] {
        window = panelWindow(x.panels, panel->serial());
        return window != XCB_WINDOW_NONE && probe.isViewable(window);
    }));
    // Openbox keeps "sticky" as the desktop of all desktops, not as a state.
    const std::vector<std::uint32_t> states = {probe.atom("_NET_WM_STATE_SKIP_TASKBAR"),
                                               probe.atom("_NET_WM_STATE_SKIP_PAGER"),
                                               probe.atom("_NET_WM_STATE_ABOVE")};
    const auto onEveryDesktopWithOurStates = [&] {
        const std::vector<std::uint32_t> now = probe.cardinals(window, "_NET_WM_STATE");
        return probe.cardinals(window, "_NET_WM_DESKTOP") == std::vector<std::uint32_t>{0xFFFFFFFFu} &&
               std::ranges::all_of(states, [&](std::uint32_t s) { return std::ranges::find(now, s) != now.end(); });
    };
    // It takes no input, and no offer of the focus either, which Qt makes for every window.
    const auto offersFocus = [&] {
        return std::ranges::count(probe.cardinals(window, "WM_PROTOCOLS"), probe.atom("WM_TAKE_FOCUS")) > 0;
    };
    EXPECT_FALSE(offersFocus());
    TestClient client({"--class", "other", "--geometry", "300x200+100+100"});
    ASSERT_TRUE(client.started());

    for (int round = 0; round < 2; ++round) {
        panel->orderOut();
        ASSERT_TRUE(spinUntil([&] { return !probe.isViewable(window); }));
        panel->orderFront();
        ASSERT_TRUE(spinUntil([&] { return probe.isViewable(window); }));
        EXPECT_TRUE(spinUntil(onEveryDesktopWithOurStates)) << "round " << round;
        EXPECT_EQ(probe.cardinals(window, "_NET_WM_WINDOW_TYPE"),
                  std::vector<std::uint32_t>{probe.atom("_NET_WM_WINDOW_TYPE_DOCK")});
        EXPECT_FALSE(offersFocus()) << "round " << round;

        // Shown again before the window manager has finished withdrawing it: it manages
        // the panel anew, in a new frame.
        const xcb_window_t frame = probe.topLevel(window);
        panel->orderOut();
        panel->orderFront();
        ASSERT_TRUE(spinUntil([&] { return probe.topLevel(window) != frame && probe.isViewable(window); }));
        EXPECT_TRUE(spinUntil(onEveryDesktopWithOurStates)) << "quickly, round " << round;

        // On another desktop the ordinary window goes, the dock stays.
        ASSERT_EQ(run({"xdotool", "set_desktop", std::to_string(round + 1)}), 0);
        EXPECT_TRUE(spinUntil([&] { return !probe.isViewable(client.window()); }));
        EXPECT_TRUE(probe.isViewable(window)) << "round " << round;
        ASSERT_EQ(run({"xdotool", "set_desktop", "0"}), 0);
        ASSERT_TRUE(spinUntil([&] { return probe.isViewable(client.window()); }));
    }
}

TEST(QtPanelHost, StaysAboveARaisedClientAndKeepsOurLevelsInOrder) {
    Backends x;
    XProbe probe;
    auto dock = shownPanel(x, kDockFrame);
    TestClient client({"--class", "cover", "--geometry", "600x400+1300+600"});
    ASSERT_TRUE(client.started());
    ASSERT_EQ(run({"xdotool", "windowactivate", "--sync", std::to_string(client.window())}), 0);
    ASSERT_EQ(run({"xdotool", "windowraise", std::to_string(client.window())}), 0);
    xcb_window_t dockWindow = XCB_WINDOW_NONE;
    ASSERT_TRUE(spinUntil([&] { return (dockWindow = panelWindow(x.panels, dock->serial())) != XCB_WINDOW_NONE; }));
    ASSERT_TRUE(windowManagerCaughtUp(client.window()));
    EXPECT_GT(probe.stackIndex(dockWindow), probe.stackIndex(client.window()));

    // A veil ordered front later still stands below the dock.
    auto veil = shownPanel(x, RectBL{1280, 0, 1280, 1080}, PanelStyle{PanelLevel::veil, true});
    xcb_window_t veilWindow = XCB_WINDOW_NONE;
    ASSERT_TRUE(spinUntil([&] {
        veilWindow = panelWindow(x.panels, veil->serial());
        return veilWindow != XCB_WINDOW_NONE && probe.isViewable(veilWindow);
    }));
    EXPECT_TRUE(spinUntil([&] { return probe.stackIndex(dockWindow) > probe.stackIndex(veilWindow); }));
}

TEST(QtPanelHost, ClicksTakeNoFocusAndACtrlClickCallsTheCommandHook) {
    Backends x;
    XProbe probe;
    TestClient client({"--class", "focused", "--geometry", "300x200+100+100"});
    ASSERT_TRUE(client.started());
    ASSERT_EQ(run({"xdotool", "windowactivate", "--sync", std::to_string(client.window())}), 0);
    auto panel = shownPanel(x, kDockFrame);
    int commandClicks = 0;
    panel->setCommandClickHandler([&] { ++commandClicks; });
    std::vector<MouseDown> local;
    Subscription localMonitor = x.events.onLocalMouseDown(kLeftButton, [&](const MouseDown& d) { local.push_back(d); });
    int global = 0;
    Subscription globalMonitor = x.events.onGlobalMouseDown(kLeftButton, [&](const MouseDown&) { ++global; });
    ASSERT_TRUE(spinUntil([&] { return probe.geometry(panelWindow(x.panels, panel->serial())) == kDockInRoot; }));

    ASSERT_EQ(run({"xdotool", "mousemove", "1500", "1000", "click", "1"}), 0);
    ASSERT_TRUE(spinUntil([&] { return local.size() == 1; }));
    EXPECT_EQ(local[0].ownPanel, panel->serial());
    EXPECT_EQ(local[0].location, (PointBL{1500, 80}));
    EXPECT_EQ(commandClicks, 0);
    ASSERT_TRUE(windowManagerCaughtUp(client.window()));
    EXPECT_EQ(probe.cardinals(probe.root(), "_NET_ACTIVE_WINDOW"), std::vector<std::uint32_t>{client.window()});
    EXPECT_NE(inputFocus(probe), panelWindow(x.panels, panel->serial()));
    EXPECT_EQ(QGuiApplication::focusWindow(), nullptr);
    EXPECT_EQ(global, 0) << "a click on our own panel is no other application's click";

    ASSERT_EQ(run({"xdotool", "keydown", "ctrl", "click", "1", "keyup", "ctrl"}), 0);
    EXPECT_TRUE(spinUntil([&] { return commandClicks == 1; }));
    EXPECT_EQ(global, 0);
}

TEST(QtPanelHost, APanelThatNeverTakesTheFocusShowsTheTooltipUnderThePointer) {
    Backends x;
    XProbe probe;
    TestClient client({"--class", "focused", "--geometry", "300x200+100+100"});
    ASSERT_TRUE(client.started());
    ASSERT_EQ(run({"xdotool", "windowactivate", "--sync", std::to_string(client.window())}), 0);
    auto panel = shownPanel(x, kDockFrame);
    const xcb_window_t window = panelWindow(x.panels, panel->serial());
    // Mapped before the pointer moves: a window that maps under a resting pointer gets no
    // motion, and Qt wakes a tooltip on motion only. Its frame is set before it maps.
    ASSERT_TRUE(spinUntil([&] { return probe.isViewable(window) && probe.geometry(window) == kDockInRoot; }));
    QWidget* widget = QWidget::find(WId(window));
    ASSERT_NE(widget, nullptr);
    widget->setToolTip("Files");

    ASSERT_EQ(run({"xdotool", "mousemove", "1500", "1000", "mousemove", "1502", "1001"}), 0);
    EXPECT_TRUE(spinUntil([] { return QToolTip::isVisible() && QToolTip::text() == "Files"; }));
    EXPECT_EQ(probe.cardinals(probe.root(), "_NET_ACTIVE_WINDOW"), std::vector<std::uint32_t>{client.window()});
    QToolTip::hideText();
}

TEST(QtPanelHost, AClickThroughPanelLetsClicksReachTheWindowBelow) {
    Backends x;
    XProbe probe;
    TestClient client({"--class", "below", "--geometry", "300x200+1400+200"});
    ASSERT_TRUE(client.started());
    auto overlay = shownPanel(x, RectBL{1280, 0, 1280, 1080}, PanelStyle{PanelLevel::placement, true});
    ASSERT_TRUE(spinUntil([&] {
        const xcb_window_t w = panelWindow(x.panels, overlay->serial());
        // The client too must stand under the click point, framed by the manager, before it is clicked.
        const RectTL below = probe.geometry(client.window());
        return w != XCB_WINDOW_NONE && probe.isViewable(w) && probe.isViewable(client.window()) &&
               below.contains(PointTL{1500, 300});
    }));
    int global = 0;
    Subscription globalMonitor = x.events.onGlobalMouseDown(kLeftButton, [&](const MouseDown&) { ++global; });
    ASSERT_EQ(run({"xdotool", "mousemove", "1500", "300", "click", "1"}), 0);
    EXPECT_TRUE(client.waitForLine("press 1"));
    EXPECT_TRUE(spinUntil([&] { return global == 1; })) << "the click landed in another application";
}

TEST(QtPanelHost, AnimationsMoveTheWindowAndCompleteOnTheMainLoop) {
    Backends x;
    XProbe probe;
    auto panel = shownPanel(x, kDockFrame);
    bool done = false;
    panel->animate({0.15, AnimationCurve::easeOut}, 0.5, RectBL{1400, 0, 400, 90}, [&] { done = true; });
    ASSERT_TRUE(spinUntil([&] { return done; }));
    EXPECT_EQ(panel->frame(), (RectBL{1400, 0, 400, 90}));
    EXPECT_EQ(panel->alpha(), 0.5);
    EXPECT_TRUE(spinUntil([&] {
        return probe.geometry(panelWindow(x.panels, panel->serial())) == RectTL{1400, 990, 400, 90};
    }));

    // Closing from inside the panel's own handler.
    const xcb_window_t closing = panelWindow(x.panels, panel->serial());
    panel->setCommandClickHandler([&] { panel.reset(); });
    ASSERT_EQ(run({"xdotool", "mousemove", "1500", "1040", "keydown", "ctrl", "click", "1", "keyup", "ctrl"}), 0);
    EXPECT_TRUE(spinUntil([&] { return panel == nullptr; }));
    // The deferred deletion runs without harm, and takes the window off the server.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(spinUntil([&] { return !probe.isViewable(closing); }));
}

TEST(QtPanelHost, AClickThroughPanelGrowsAndShrinksInPlaceWithoutResizingItsWindow) {
    Backends x;
    XProbe probe;
    QWidget* content = nullptr;
    auto view = std::make_shared<QtPanelView>([&](QWidget* panel) { return content = new QWidget(panel); });
    constexpr RectBL kFull{1500, 300, 200, 100};
    constexpr RectTL kFullInRoot{1500, 680, 200, 100};
    constexpr RectBL kInset{1508, 304, 184, 92};
    constexpr RectTL kInsetInRoot{1508, 684, 184, 92};
    auto panel = x.panels.createPanel(PanelStyle{PanelLevel::dock, true}, kInset, view);
    panel->orderFront();
    bool grown = false;
    panel->animate({0.2, AnimationCurve::easeOut}, 1.0, kFull, [&] { grown = true; });
    const xcb_window_t window = panelWindow(x.panels, panel->serial());
    ASSERT_TRUE(spinUntil([&] { return probe.isViewable(window); }));
    std::vector<RectTL> seen;
    ASSERT_TRUE(spinUntil([&] {
        seen.push_back(probe.geometry(window));
        return grown;
    }));
    // Mapped where it was made, the window may be seen there before its full frame comes.
    const auto growing = std::ranges::find_if(seen, [&](const RectTL& at) { return at != kInsetInRoot; });
    EXPECT_TRUE(std::all_of(growing, seen.end(), [&](const RectTL& at) { return at == kFullInRoot; }));
    // The content follows by its layout, a turn of the loop later.
    EXPECT_TRUE(spinUntil([&] { return content->geometry() == QRect(0, 0, 200, 100); }));

    bool shrunk = false;
    panel->animate({0.2, AnimationCurve::easeIn}, 0.0, kInset, [&] { shrunk = true; });
    ASSERT_TRUE(spinUntil([&] { return shrunk; }));
    EXPECT_EQ(panel->frame(), kInset);
    EXPECT_EQ(probe.geometry(window), kFullInRoot);
    EXPECT_TRUE(spinUntil([&] { return content->geometry() == QRect(8, 4, 184, 92); }));

    // Set, not animated, the frame is the window's again.
    panel->setFrame(kInset);
    EXPECT_TRUE(spinUntil(
        [&] { return probe.geometry(window) == kInsetInRoot && content->geometry() == QRect(0, 0, 184, 92); }));
}

TEST(QtPanelHost, OwnWindowsTellPanelsByLevelFromATitledWindowThatHasTheFocus) {
    Backends x;
    auto veil = shownPanel(x, RectBL{0, 0, 1280, 1080}, PanelStyle{PanelLevel::veil, true});
    QWidget settings;
    settings.setWindowTitle("Settings");
    settings.resize(400, 300);
    settings.show();
    settings.activateWindow();
    const auto titledWithFocus = [&] {
        const std::vector<OwnWindow> own = x.panels.ownWindows();
        return std::any_of(own.begin(), own.end(),
                           [](const OwnWindow& w) { return w.isVisible && w.isTitled && !w.level && w.hasFocus; });
    };
    ASSERT_TRUE(spinUntil(titledWithFocus));
    const std::vector<OwnWindow> own = x.panels.ownWindows();
    EXPECT_EQ(std::count_if(own.begin(), own.end(),
                            [](const OwnWindow& w) {
                                return w.isVisible && !w.isTitled && w.level == PanelLevel::veil && !w.hasFocus;
                            }),
              1);

    settings.hide();
    EXPECT_FALSE(titledWithFocus());
}

TEST(QtPanelHost, OwnWindowsListTheShownPanelsFrontToBackAsStackedWithTheirFramesThenTheOthers) {
    Backends x;
    XProbe probe;
    auto dock = shownPanel(x, kDockFrame, PanelStyle{.level = PanelLevel::dock, .isDockPanel = true});
    auto overlay = shownPanel(x, RectBL{1280, 0, 1280, 1080}, PanelStyle{PanelLevel::placement, true});
    auto veil = shownPanel(x, RectBL{0, 0, 1280, 1080}, PanelStyle{PanelLevel::veil, true});
    auto hidden = x.panels.createPanel({}, RectBL{10, 10, 50, 50}, PlainFill{});
    QWidget settings;
    settings.setWindowTitle("Settings");
    settings.setGeometry(200, 150, 400, 300);
    settings.show();
    // Placed and framed: the window manager's frame is part of the window's frame.
    ASSERT_TRUE(spinUntil([&] { return settings.frameGeometry().height() > 300; }));
    for (const auto& panel : {dock.get(), overlay.get(), veil.get()}) {
        ASSERT_TRUE(spinUntil([&] { return probe.isViewable(panelWindow(x.panels, panel->serial())); }));
    }

    const std::vector<OwnWindow> own = x.panels.ownWindows();
    ASSERT_GE(own.size(), 5u);
    EXPECT_EQ(own[0].serial, dock->serial());
    EXPECT_EQ(own[1].serial, overlay->serial());
    EXPECT_EQ(own[2].serial, veil->serial());
    EXPECT_EQ(own[0].frame, kDockFrame);
    EXPECT_EQ(own[1].frame, (RectBL{1280, 0, 1280, 1080}));
    EXPECT_EQ(own[2].frame, (RectBL{0, 0, 1280, 1080}));
    EXPECT_TRUE(own[0].isDockPanel);
    EXPECT_FALSE(own[1].isDockPanel);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(own[i].isVisible);
        EXPECT_FALSE(own[i].isTitled);
    }
    // The order is the server's: the dock over the overlay over the veil.
    const auto stackIndex = [&](const Panel& panel) { return probe.stackIndex(panelWindow(x.panels, panel.serial())); };
    EXPECT_TRUE(spinUntil([&] { return stackIndex(*dock) > stackIndex(*overlay); }));
    EXPECT_TRUE(spinUntil([&] { return stackIndex(*overlay) > stackIndex(*veil); }));

    // The rest: the hidden panel and the titled window, whose frame holds its contents.
    const auto find = [&](auto matches) { return std::find_if(own.begin() + 3, own.end(), matches); };
    const auto hiddenPanel = find([&](const OwnWindow& w) { return w.serial == hidden->serial(); });
    ASSERT_NE(hiddenPanel, own.end());
    EXPECT_FALSE(hiddenPanel->isVisible);
    const auto titled = find([](const OwnWindow& w) { return w.isTitled; });
    ASSERT_NE(titled, own.end());
    EXPECT_EQ(titled->serial, 0u);
    EXPECT_TRUE(titled->isVisible);
    const QRect inside = settings.geometry();
    const RectBL contents{double(inside.x()), 1080.0 - inside.y() - inside.height(), 400, 300};
    EXPECT_TRUE(titled->frame.containsRect(contents));
    EXPECT_GT(titled->frame.height, 300) << "with its title bar";

    // Ordered front again, the veil stays below the overlay; ordered out, a panel comes after.
    veil->orderFront();
    overlay->orderOut();
    const std::vector<OwnWindow> after = x.panels.ownWindows();
    ASSERT_GE(after.size(), 5u);
    EXPECT_EQ(after[0].serial, dock->serial());
    EXPECT_EQ(after[1].serial, veil->serial());
    // Among the others, in no particular order.
    const auto out =
        std::find_if(after.begin() + 2, after.end(), [&](const OwnWindow& w) { return w.serial == overlay->serial(); });
    ASSERT_NE(out, after.end());
    EXPECT_FALSE(out->isVisible);
}
