#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <mutex>
#include <optional>
#include <sys/wait.h>

#include "Backends.h"
#include "OnWorker.h"
#include "X11TestSupport.h"
#include "core/foundation/ThreadRunLoop.h"
#include "linux/x11/X11HiddenApps.h"
#include "linux/x11/X11WindowAccess.h"

extern char** environ;

using namespace quillbern;
using namespace quillbern::test;

namespace {

// The backend on a worker of its own, as the window worker uses it.
struct Access {
    Backends x;
    XProbe probe;
    std::unique_ptr<ThreadRunLoop> worker = ThreadRunLoop::start("quillbern.ax");
    X11HiddenApps hidden;
    X11WindowAccess access{[this] { return x.screens.desktopSpace(); }, hidden};

    template <class Fn>
    auto run(Fn fn) {
        return onWorker(*worker, [this, fn] { return fn(access); });
    }

    std::optional<ElementRef> windowOf(Pid pid, xcb_window_t window) {
        return run([pid, window](WindowAccess& a) -> std::optional<ElementRef> {
            for (const ElementRef element :
                 a.readElements(a.appElement(pid), Attribute::windows).optional().value_or(std::vector<ElementRef>{})) {
                if (a.windowId(element).optional() == window) return element;
            }
            return std::nullopt;
        });
    }
    std::optional<bool> flag(ElementRef element, Attribute attribute) {
        return run([=](WindowAccess& a) { return a.readBool(element, attribute).optional(); });
    }
    std::optional<RectTL> frame(ElementRef element) {
        return run([=](WindowAccess& a) -> std::optional<RectTL> {
            const auto origin = a.readPosition(element);
            const auto size = a.readSize(element);
            if (!origin.hasValue() || !size.hasValue()) return std::nullopt;
            return RectTL{origin.value().x, origin.value().y, size.value().width, size.value().height};
        });
    }
    std::optional<std::string> title(ElementRef element) {
        return run([=](WindowAccess& a) { return a.readString(element, Attribute::title).optional(); });
    }
    // Waits until the client's window is listed under its process.
    ElementRef waitForWindow(Pid pid, xcb_window_t window) {
        std::optional<ElementRef> found;
        EXPECT_TRUE(spinUntil([&] { return (found = windowOf(pid, window)).has_value(); }));
        return found.value_or(ElementRef{});
    }
    std::optional<RectTL> listedBounds(xcb_window_t window) {
        return run([window](X11WindowAccess& a) -> std::optional<RectTL> {
            for (const ListedWindow& listed : a.onScreenWindows().value_or(std::vector<ListedWindow>{})) {
                if (listed.id == window) return listed.bounds;
            }
            return std::nullopt;
        });
    }
};

// Any program, stopped when the object goes.
class Program {
public:
    explicit Program(std::vector<std::string> args) {
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        if (posix_spawnp(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) pid_ = -1;
    }
    ~Program() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
};

void sendMessage(XProbe& probe, xcb_window_t window, const std::string& type, std::uint32_t d0 = 0,
                 std::uint32_t d1 = 0) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = probe.atom(type);
    message.data.data32[0] = d0;
    message.data.data32[1] = d1;
    const bool toClient = type == "QUILLBERN_TEST_OPEN";
    xcb_send_event(
        probe.c(), 0, toClient ? window : probe.root(),
        toClient ? XCB_EVENT_MASK_NO_EVENT : XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&message));
    xcb_flush(probe.c());
}

std::uint32_t activeWindow(XProbe& probe) {
    const auto active = probe.cardinals(probe.root(), "_NET_ACTIVE_WINDOW");
    return active.empty() ? 0 : active.front();
}

// Is the first window's frame stacked above the second's?
bool above(XProbe& probe, xcb_window_t upper, xcb_window_t lower) {
    const auto stacking = probe.stacking();
    const auto position = [&](xcb_window_t window) {
        return std::find(stacking.begin(), stacking.end(), probe.topLevel(window)) - stacking.begin();
    };
    return position(upper) > position(lower);
}

}  // namespace

TEST(X11WindowAccess, ListsAnApplicationsWindowsWithTitlesFramesAndFlags) {
    Access a;
    TestClient left({"--title", "Left Ä", "--geometry", "300x200+100+150"});
    TestClient right({"--title", "Right", "--geometry", "320x240+1500+300"});
    ASSERT_TRUE(left.started() && right.started());
    const ElementRef leftWindow = a.waitForWindow(left.pid(), left.window());
    const ElementRef rightWindow = a.waitForWindow(right.pid(), right.window());

    EXPECT_EQ(a.title(leftWindow), "Left Ä");
    EXPECT_EQ(a.run([=](WindowAccess& w) { return w.readRole(rightWindow).optional(); }), WindowRole::window);
    // The outer frame in top-left global space, as the on-screen list has it.
    ASSERT_TRUE(spinUntil([&] {
        const auto bounds = a.listedBounds(right.window());
        return bounds && a.frame(rightWindow) == bounds && bounds->width > 320;
    })) << "frame "
        << a.frame(rightWindow)->x << "," << a.frame(rightWindow)->y;

    ASSERT_EQ(run({"xdotool", "windowactivate", "--sync", std::to_string(left.window())}), 0);
    ASSERT_TRUE(spinUntil([&] { return a.flag(leftWindow, Attribute::focused) == true; }));
    EXPECT_EQ(a.flag(leftWindow, Attribute::main), true);
    EXPECT_EQ(a.flag(rightWindow, Attribute::focused), false);
    EXPECT_EQ(a.flag(rightWindow, Attribute::main), true);  // an application's main window need not be focused
    EXPECT_EQ(
        a.run([&](WindowAccess& w) { return w.readBool(w.appElement(left.pid()), Attribute::frontmost).optional(); }),
        true);
    EXPECT_EQ(
        a.run([&](WindowAccess& w) { return w.readBool(w.appElement(right.pid()), Attribute::frontmost).optional(); }),
        false);
    EXPECT_EQ(a.run([&](WindowAccess& w) {
        return w.readElement(w.appElement(left.pid()), Attribute::focusedWindow).optional();
    }),
              leftWindow);

    ASSERT_EQ(run({"xdotool", "windowminimize", "--sync", std::to_string(right.window())}), 0);
    ASSERT_TRUE(spinUntil([&] { return a.flag(rightWindow, Attribute::minimized) == true; }));
    EXPECT_FALSE(a.run(
        [&](WindowAccess& w) { return w.readElement(w.appElement(right.pid()), Attribute::mainWindow).hasValue(); }));
}

TEST(X11WindowAccess, FindsXtermByItsProcess) {
    Access a;
    Program xterm({"xterm", "-title", "Quillbern terminal", "-geometry", "60x10+200+500"});
    ASSERT_GT(xterm.pid(), 0);
    std::optional<ElementRef> window;
    ASSERT_TRUE(spinUntil([&] {
        const auto windows = a.run([&](WindowAccess& w) {
            return w.readElements(w.appElement(xterm.pid()), Attribute::windows)
                .optional()
                .value_or(std::vector<ElementRef>{});
        });
        if (windows.size() == 1) window = windows.front();
        return window && a.title(*window) == "Quillbern terminal";
    }));
    EXPECT_EQ(a.flag(*window, Attribute::minimized), false);
}

TEST(X11WindowAccess, FallsBackToTheLegacyTitleAndTheServersIdeaOfTheProcess) {
    Access a;
    TestClient client({"--title", "Plain title", "--legacy-title", "--no-pid"});
    ASSERT_TRUE(client.started());
    ASSERT_TRUE(a.probe.cardinals(client.window(), "_NET_WM_PID").empty());
    const ElementRef window = a.waitForWindow(client.pid(), client.window());
    EXPECT_EQ(a.title(window), "Plain title");
}

TEST(X11WindowAccess, ListsNeitherDocksNorOurOwnWindows) {
    Access a;
    TestClient dock({"--strut", "0,0,30,0,0,0,0,0,0,300,0,0", "--geometry", "300x30+0+0"});
    TestClient ordinary({});
    ASSERT_TRUE(dock.started() && ordinary.started());
    a.waitForWindow(ordinary.pid(), ordinary.window());

    // One of our own, named by our process.
    const xcb_window_t own = xcb_generate_id(a.probe.c());
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(a.probe.c())).data;
    xcb_create_window(a.probe.c(), XCB_COPY_FROM_PARENT, own, a.probe.root(), 10, 10, 50, 50, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    const std::uint32_t pid = std::uint32_t(getpid());
    xcb_change_property(a.probe.c(), XCB_PROP_MODE_REPLACE, own, a.probe.atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, 1,
                        &pid);
    xcb_map_window(a.probe.c(), own);
    xcb_flush(a.probe.c());
    ASSERT_TRUE(spinUntil([&] {
        const auto clients = a.probe.cardinals(a.probe.root(), "_NET_CLIENT_LIST");
        return std::find(clients.begin(), clients.end(), own) != clients.end() &&
               std::find(clients.begin(), clients.end(), dock.window()) != clients.end();
    }));
    EXPECT_FALSE(a.windowOf(dock.pid(), dock.window()));
    EXPECT_FALSE(a.windowOf(getpid(), own));
    xcb_destroy_window(a.probe.c(), own);
    xcb_flush(a.probe.c());
}

TEST(X11WindowAccess, ObserversHearWindowsOpenMoveRenameMinimiseAndClose) {
    Access a;
    TestClient client({"--title", "Watched", "--geometry", "300x200+200+200"});
    ASSERT_TRUE(client.started());
    a.waitForWindow(client.pid(), client.window());

    std::mutex mutex;
    std::vector<ElementEvent> heard;
    const auto heardSince = [&](std::size_t from, ElementEvent event) {
        std::lock_guard lock(mutex);
        return std::find(heard.begin() + std::ptrdiff_t(std::min(from, heard.size())), heard.end(), event) !=
               heard.end();
    };
    const auto count = [&] {
        std::lock_guard lock(mutex);
        return heard.size();
    };
    auto observer = a.run([&](WindowAccess& w) {
        auto o = w.observe(client.pid(), *a.worker, [&](ElementEvent event, ElementRef element) {
            EXPECT_EQ(element, w.appElement(client.pid()));
            std::lock_guard lock(mutex);
            heard.push_back(event);
        });
        for (const ElementEvent event :
             {ElementEvent::windowCreated, ElementEvent::focusedWindowChanged, ElementEvent::mainWindowChanged,
              ElementEvent::windowMinimized, ElementEvent::windowRestored, ElementEvent::windowMoved,
              ElementEvent::windowResized, ElementEvent::titleChanged}) {
            EXPECT_TRUE(o->add(w.appElement(client.pid()), event));
        }
        return std::shared_ptr<AppObserver>(std::move(o));
    });
    ASSERT_TRUE(observer);
    const auto within = [&](ElementEvent event, const std::function<void()>& act) {
        const std::size_t from = count();
        act();
        return spinUntil([&] { return heardSince(from, event); });
    };

    EXPECT_TRUE(
        within(ElementEvent::windowCreated, [&] { sendMessage(a.probe, client.window(), "QUILLBERN_TEST_OPEN"); }));
    EXPECT_TRUE(within(ElementEvent::windowMoved, [&] {
        run({"xdotool", "windowmove", std::to_string(client.window()), "400", "300"});
    }));
    EXPECT_TRUE(within(ElementEvent::windowResized, [&] {
        run({"xdotool", "windowsize", std::to_string(client.window()), "350", "250"});
    }));
    EXPECT_TRUE(within(ElementEvent::titleChanged, [&] {
        run({"xdotool", "set_window", "--name", "Renamed", std::to_string(client.window())});
    }));
    EXPECT_TRUE(within(ElementEvent::windowMinimized, [&] {
        run({"xdotool", "windowminimize", std::to_string(client.window())});
    }));
    EXPECT_TRUE(within(ElementEvent::windowRestored, [&] {
        run({"xdotool", "windowactivate", std::to_string(client.window())});
    }));
    // A closed window is heard as a change of its application's windows.
    std::vector<xcb_window_t> clients;
    for (const std::uint32_t w : a.probe.cardinals(a.probe.root(), "_NET_CLIENT_LIST")) {
        if (w != client.window() && !a.probe.cardinals(w, "_NET_WM_PID").empty() &&
            a.probe.cardinals(w, "_NET_WM_PID").front() == std::uint32_t(client.pid())) {
            clients.push_back(w);
        }
    }
    ASSERT_EQ(clients.size(), 1u);
    EXPECT_TRUE(within(ElementEvent::mainWindowChanged,
                       [&] { sendMessage(a.probe, clients.front(), "_NET_CLOSE_WINDOW", 0, 2); }));

    // Once removed, an event is no longer heard.
    a.run([&](WindowAccess& w) {
        observer->remove(w.appElement(client.pid()), ElementEvent::windowMoved);
        return true;
    });
    // A resize after the move is the barrier: once it is heard, so would the move be.
    const std::size_t before = count();
    run({"xdotool", "windowmove", "--sync", std::to_string(client.window()), "100", "100"});
    EXPECT_TRUE(within(ElementEvent::windowResized, [&] {
        run({"xdotool", "windowsize", std::to_string(client.window()), "360", "260"});
    }));
    EXPECT_FALSE(heardSince(before, ElementEvent::windowMoved));
    a.run([&](WindowAccess&) {
        observer.reset();
        return true;
    });
}

TEST(X11WindowAccess, WhileWatchingACallOffTheWatchsLoopStopsADebugBuild) {
#ifdef NDEBUG
    GTEST_SKIP() << "contract checks are compiled into debug builds only";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Access a;
    auto watch =
        a.run([&](WindowAccess& w) { return std::make_shared<Subscription>(w.watchChanges(*a.worker, [] {})); });
    ASSERT_TRUE(*watch);
    EXPECT_DEATH(a.access.readBool(a.access.appElement(getpid()), Attribute::frontmost),
                 "called off the loop it lives on");
    a.run([&](WindowAccess&) {
        watch.reset();
        return true;
    });
#endif
}

TEST(X11WindowAccess, AChangeWatchHearsEveryChangeAndReadsInBetweenAskTheServerNothing) {
    Access a;
    TestClient client({"--title", "Quiet", "--geometry", "300x200+200+200"});
    ASSERT_TRUE(client.started());
    a.waitForWindow(client.pid(), client.window());
    std::atomic<int> changes{0};
    auto watch = a.run(
        [&](WindowAccess& w) { return std::make_shared<Subscription>(w.watchChanges(*a.worker, [&] { ++changes; })); });
    ASSERT_TRUE(*watch);
    const auto readings = [&] { return a.run([](X11WindowAccess& w) { return w.tableReadings(); }); };
    const auto listed = [&] { return a.listedBounds(client.window()); };

    // Once the window manager is done with the new window, nothing changes: reads of windows
    // and of the on-screen list answer from what is known.
    const ElementRef window = a.waitForWindow(client.pid(), client.window());
    EXPECT_TRUE(spinUntil([&] {
        const int before = readings();
        for (int i = 0; i < 5; ++i) {
            if (!listed() || !a.title(window)) return false;
        }
        return readings() == before;
    }));

    // Every change of a window is heard, and the next reads see it.
    const auto heard = [&](const std::function<void()>& act, const std::function<bool()>& seen) {
        const int from = changes;
        act();
        return spinUntil([&] { return changes > from && seen(); });
    };
    const std::optional<RectTL> unmoved = listed();
    EXPECT_TRUE(heard(
        [&] {
            run({"xdotool", "windowmove", std::to_string(client.window()), "900", "300"});
        },
        [&] { return listed() && listed()->x == unmoved->x + 700; }));
    // (xdotool writes the new name as a Latin-1 string, which the UTF-8 title does not take.)
    EXPECT_TRUE(heard(
        [&] {
            run({"xdotool", "set_window", "--name", "Loud", std::to_string(client.window())});
        },
        [&] { return a.title(window) != "Quiet"; }));
    EXPECT_TRUE(heard(
        [&] {
            run({"xdotool", "windowminimize", std::to_string(client.window())});
        },
        [&] { return !listed(); }));
    EXPECT_TRUE(heard(
        [&] {
            run({"xdotool", "windowactivate", std::to_string(client.window())});
        },
        [&] { return listed().has_value(); }));
    EXPECT_TRUE(heard([&] { sendMessage(a.probe, client.window(), "QUILLBERN_TEST_OPEN"); },
                      [&] {
                          return a.run([&](WindowAccess& w) {
                              return w.readElements(w.appElement(client.pid()), Attribute::windows).optional()->size();
                          }) == 2;
                      }));
    a.run([&](WindowAccess&) {
        watch->reset();
        return true;
    });
}

TEST(X11WindowAccess, RaisesMinimisesRestoresPlacesAndClosesTheRealWindow) {
    Access a;
    TestClient client({"--title", "Acted on", "--geometry", "300x200+200+200"});
    TestClient other({"--title", "Other", "--geometry", "300x200+250+250"});
    TestClient passive({"--title", "No input", "--no-input", "--geometry", "300x200+300+300"});
    ASSERT_TRUE(client.started() && other.started() && passive.started());
    const ElementRef window = a.waitForWindow(client.pid(), client.window());
    const ElementRef passiveWindow = a.waitForWindow(passive.pid(), passive.window());
    ASSERT_EQ(run({"xdotool", "windowactivate", "--sync", std::to_string(other.window())}), 0);

    // Raise: activated.
    EXPECT_TRUE(a.run([=](WindowAccess& w) { return w.perform(window, ElementAction::raise); }));
    EXPECT_TRUE(spinUntil([&] { return activeWindow(a.probe) == client.window(); }));
    // A window that takes no focus still comes to the top.
    EXPECT_TRUE(a.run([=](WindowAccess& w) { return w.perform(passiveWindow, ElementAction::raise); }));
    EXPECT_TRUE(spinUntil([&] { return above(a.probe, passive.window(), client.window()); }));

    // Minimise and restore.
    EXPECT_TRUE(a.run([=](WindowAccess& w) { return w.writeBool(window, Attribute::minimized, true); }));
    EXPECT_TRUE(spinUntil([&] { return !a.probe.isViewable(client.window()); }));
    EXPECT_TRUE(spinUntil([&] { return a.flag(window, Attribute::minimized) == true; }));
    EXPECT_TRUE(a.run([=](WindowAccess& w) { return w.writeBool(window, Attribute::minimized, false); }));
    EXPECT_TRUE(
        spinUntil([&] { return a.probe.isViewable(client.window()) && activeWindow(a.probe) == client.window(); }));

    // Place: the outer frame lands where asked, on the right-hand monitor too.
    const RectTL target{1400, 120, 500, 400};
    EXPECT_TRUE(a.run([=](WindowAccess& w) {
        return w.writePosition(window, target.origin()) && w.writeSize(window, target.size());
    }));
    EXPECT_TRUE(spinUntil([&] { return a.frame(window) == target; }))
        << "at " << a.frame(window)->x << "," << a.frame(window)->y << " " << a.frame(window)->width << "x"
        << a.frame(window)->height;
    EXPECT_EQ(a.listedBounds(client.window()), target);
    EXPECT_FALSE(a.run([=](WindowAccess& w) { return w.writeSize(window, Size{0, 300}); }));

    // Full screen and back.
    EXPECT_TRUE(a.run([=](WindowAccess& w) { return w.writeBool(window, Attribute::fullScreen, true); }));
    EXPECT_TRUE(spinUntil([&] { return a.probe.hasState(client.window(), "_NET_WM_STATE_FULLSCREEN"); }));
    EXPECT_TRUE(spinUntil([&] { return a.flag(window, Attribute::fullScreen) == true; }));
    EXPECT_TRUE(a.run([=](WindowAccess& w) { return w.writeBool(window, Attribute::fullScreen, false); }));
    EXPECT_TRUE(spinUntil([&] { return !a.probe.hasState(client.window(), "_NET_WM_STATE_FULLSCREEN"); }));

    // Close through the close button: the client is asked and goes.
    EXPECT_TRUE(a.run([=](WindowAccess& w) {
        const auto button = w.readElement(window, Attribute::closeButton);
        return button.hasValue() && w.perform(button.value(), ElementAction::press);
    }));
    EXPECT_TRUE(spinUntil([&] { return !a.windowOf(client.pid(), client.window()); }));
    EXPECT_TRUE(a.run([=](WindowAccess& w) { return w.windowId(window).isFailure(); }));
    EXPECT_FALSE(a.run([=](WindowAccess& w) { return w.perform(window, ElementAction::raise); }));
}

TEST(X11WindowAccess, TheTimeOutOfAProcessThatEndedIsForgotten) {
    Access a;
    std::optional<Program> ending(std::in_place, std::vector<std::string>{"sleep", "30"});
    const Pid ended = ending->pid();
    ASSERT_GT(ended, 0);
    a.run([ended](WindowAccess& w) {
        w.setTimeout(w.systemWideElement(), 0.6);
        w.setTimeout(w.appElement(ended), 0.05);
        return true;
    });
    ending.reset();
    // The next process to get a time-out of its own clears the ended one's.
    a.run([](WindowAccess& w) {
        w.setTimeout(w.appElement(Pid(getpid())), 0.25);
        return true;
    });

    xcb_grab_server(a.probe.c());
    std::free(xcb_get_input_focus_reply(a.probe.c(), xcb_get_input_focus(a.probe.c()), nullptr));
    const auto [failed, ms] = a.run([ended](WindowAccess& w) {
        QElapsedTimer timer;
        timer.start();
        const bool isFailure = w.readElements(w.appElement(ended), Attribute::windows).isFailure();
        return std::pair{isFailure, timer.elapsed()};
    });
    xcb_ungrab_server(a.probe.c());
    xcb_flush(a.probe.c());
    EXPECT_TRUE(failed);
    EXPECT_GE(ms, 450) << "bounded by the time-out for every call, not by the ended process's own";
}

TEST(X11WindowAccess, AReadFailsAtItsTimeOutInsteadOfWaitingForAStuckServer) {
    Access a;
    TestClient client({});
    ASSERT_TRUE(client.started());
    a.waitForWindow(client.pid(), client.window());

    spinFor(int(X11WindowAccess::kTableReuse * 1000) + 20);  // past the reuse of the last reading
    xcb_grab_server(a.probe.c());
    std::free(xcb_get_input_focus_reply(a.probe.c(), xcb_get_input_focus(a.probe.c()), nullptr));
    const auto [failed, ms] = a.run([&](WindowAccess& w) {
        const ElementRef app = w.appElement(client.pid());
        w.setTimeout(app, 0.2);
        QElapsedTimer timer;
        timer.start();
        const bool isFailure = w.readElements(app, Attribute::windows).isFailure();
        return std::pair{isFailure, timer.elapsed()};
    });
    xcb_ungrab_server(a.probe.c());
    xcb_flush(a.probe.c());
    EXPECT_TRUE(failed);
    EXPECT_GE(ms, 150);
    // Answers of the abandoned requests do not confuse later ones.
    EXPECT_TRUE(spinUntil([&] { return a.windowOf(client.pid(), client.window()).has_value(); }));
}
