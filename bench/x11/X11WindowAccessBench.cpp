// One full enumeration of 100 client windows of another process (a child of the bench) over
// a window manager's client list, as the window worker reads it, and one follow tick of
// focus mode over the same windows, read on the main thread's connection. Needs a running X
// server with an EWMH window manager: run it under scripts/run's desktop or any desktop
// session; without $DISPLAY it says so and does nothing.
#include <unistd.h>

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <thread>
#include <xcb/xcb.h>

#include "core/platform/WindowAccess.h"
#include "core/workspace/FocusModeController.h"
#include "linux/x11/X11ClientTable.h"
#include "linux/x11/X11Connection.h"
#include "linux/x11/X11HiddenApps.h"
#include "linux/x11/X11OnScreenWindows.h"
#include "linux/x11/X11WindowAccess.h"
#include "linux/x11/XcbConnection.h"
#include "sim/SimAppProcess.h"
#include "sim/SimWorld.h"

using namespace quillbern;

namespace {

constexpr int kWindows = 100;

// The windows' owner: a child process, since the client table takes a window's process from
// the X server, and window access passes over our own. It holds them until the bench ends,
// which closes the pipe it waits on.
struct WindowOwner {
    Pid pid = 0;
    int hold = -1;
};
WindowOwner owner;

[[noreturn]] void ownWindows(int ready, int hold) {
    auto connection = XcbConnection::open();
    if (!connection) _exit(1);
    xcb_connection_t* c = connection->xcb();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    for (int i = 0; i < kWindows; ++i) {
        const xcb_window_t w = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, w, connection->root(), std::int16_t(20 + i * 7),
                          std::int16_t(40 + i * 5), 200, 120, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0,
                          nullptr);
        const std::string title = "Bench window " + std::to_string(i);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, connection->atom("_NET_WM_NAME"),
                            connection->atom("UTF8_STRING"), 8, std::uint32_t(title.size()), title.data());
        xcb_map_window(c, w);
    }
    // A round trip: the server has made them all before the bench looks.
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    const char done = 1;
    const bool told = write(ready, &done, 1) == 1;
    char ignored;
    while (told && read(hold, &ignored, 1) > 0) {
    }
    _exit(told ? 0 : 1);
}

bool openWindows() {
    int ready[2], hold[2];
    if (pipe(ready) != 0) return false;
    if (pipe(hold) != 0) return false;
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        close(ready[0]);
        close(hold[1]);
        ownWindows(ready[1], hold[0]);
    }
    close(ready[1]);
    close(hold[0]);
    owner = {child, hold[1]};
    char done = 0;
    const bool opened = read(ready[0], &done, 1) == 1;
    close(ready[0]);
    if (!opened) return false;
    // Managed once the window manager lists them all.
    auto connection = XcbConnection::open();
    if (!connection) return false;
    X11ClientReader reader(*connection);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < until) {
        const auto table = reader.read(DesktopSpace{}, until);
        int theirs = 0;
        for (const ClientFacts& facts : table ? table->frontToBack : std::vector<ClientFacts>{})
            theirs += facts.pid == owner.pid;
        if (theirs >= kWindows) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

void closeWindows() {
    if (owner.hold < 0) return;
    close(owner.hold);
    waitpid(owner.pid, nullptr, 0);
}

// The client table: every property of every client, pipelined.
void BM_ReadClientTable(benchmark::State& state) {
    auto connection = XcbConnection::open();
    X11ClientReader reader(*connection);
    for (auto _ : state) {
        auto table = reader.read(DesktopSpace{}, std::chrono::steady_clock::now() + std::chrono::seconds(2));
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(BM_ReadClientTable)->Unit(benchmark::kMillisecond);

// What one reconciliation asks of the application: its focus, its windows and each
// window's role, number, flags, title and frame; the table is read afresh each time.
void BM_EnumerateApplicationWindows(benchmark::State& state) {
    X11HiddenApps hidden;
    X11WindowAccess access([] { return DesktopSpace{}; }, hidden);
    const ElementRef app = access.appElement(owner.pid);
    for (auto _ : state) {
        state.PauseTiming();
        std::this_thread::sleep_for(std::chrono::duration<double>(X11WindowAccess::kTableReuse));
        state.ResumeTiming();
        benchmark::DoNotOptimize(access.readBool(app, Attribute::frontmost));
        benchmark::DoNotOptimize(access.readElement(app, Attribute::mainWindow));
        const auto windows = access.readElements(app, Attribute::windows);
        if (!windows.hasValue() || windows.value().size() != kWindows) state.SkipWithError("windows missing");
        for (const ElementRef window : windows.optional().value_or(std::vector<ElementRef>{})) {
            benchmark::DoNotOptimize(access.readRole(window));
            benchmark::DoNotOptimize(access.windowId(window));
            benchmark::DoNotOptimize(access.readBool(window, Attribute::minimized));
            benchmark::DoNotOptimize(access.readBool(window, Attribute::fullScreen));
            benchmark::DoNotOptimize(access.readString(window, Attribute::title));
            benchmark::DoNotOptimize(access.readPosition(window));
            benchmark::DoNotOptimize(access.readSize(window));
        }
    }
}
BENCHMARK(BM_EnumerateApplicationWindows)->Unit(benchmark::kMillisecond)->Iterations(200);

// One tick of focus mode's follow while the focused window stays put: the on-screen list
// read in one batch on the main thread's connection, compared with the hole, and no panel
// touched.
void BM_FocusFollowTick(benchmark::State& state) {
    auto connection = X11Connection::open();
    X11OnScreenWindows list(*connection, [] { return DesktopSpace{}; });
    const auto listed = list.onScreenWindows();
    if (!listed || listed->size() < std::size_t(kWindows)) return state.SkipWithError("windows missing");

    SimWorld world;
    ScreenInfo screen;
    screen.frame = screen.visibleFrame = {0, 0, 2560, 1080};
    world.screens.setScreens({screen});
    SimAppProcess process;
    AXPermission permission(world.permissions, world.processes, world.launcher);
    WindowEngine engine(world.enginePorts());
    AppearanceStore appearance(world.defaults, world.appearance, world.mainLoop);
    FocusModeController focus({.panels = world.panels,
                               .views = world.workspaceViews,
                               .screens = world.screens,
                               .windowList = list,
                               .input = world.input,
                               .apps = world.apps,
                               .process = process,
                               .mainLoop = world.mainLoop},
                              engine, appearance, permission);
    WindowInfo focused;
    focused.id = listed->back().id;
    focused.frame = *listed->back().bounds;
    focused.isFocused = true;
    engine.apply({{focused}});
    focus.setActive(true);
    world.advance(FocusModeController::kFade.duration);
    const SimPanelState& veil = *world.panels.panel(1);
    const int redraws = veil.veilRedraws;

    for (auto _ : state)
        world.advance(FocusModeController::kFollowInterval);
    if (veil.veilRedraws != redraws || veil.alpha != 1) state.SkipWithError("an unchanged tick touched the veil");
    state.counters["windows"] = double(listed->size());
}
BENCHMARK(BM_FocusFollowTick)->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("DISPLAY")) {
        std::printf("quillbern_x11_bench: skipped, $DISPLAY is not set (it needs an X server with a window manager)\n");
        return 0;
    }
    // Before Qt or anything else starts a thread: the windows' owner is a fork.
    if (!openWindows()) {
        std::fprintf(stderr, "quillbern_x11_bench: the window manager did not list %d test windows\n", kWindows);
        closeWindows();
        return 1;
    }
    int status = 0;
    {
        // The main thread's connection reads its events through Qt.
        QCoreApplication application(argc, argv);
        benchmark::Initialize(&argc, argv);
        if (benchmark::ReportUnrecognizedArguments(argc, argv))
            status = 1;
        else
            benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    }
    closeWindows();
    return status;
}
