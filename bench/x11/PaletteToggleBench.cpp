// Opening the shortcut sheet on a real desktop while another application has the keyboard:
// from the toggle to the sheet's window mapped with the input focus. Needs an X server with
// an EWMH window manager (scripts/run's desktop or any desktop session); without $DISPLAY
// it says so and does nothing.
#include <QApplication>
#include <QWindow>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <xcb/xcb.h>

#include "core/foundation/Clock.h"
#include "core/palettes/ShortcutSheetController.h"
#include "core/platform/FrameClock.h"
#include "core/platform/SystemThreads.h"
#include "core/shortcuts/HotKeyBindings.h"
#include "linux/freedesktop/LinuxSystemAppearance.h"
#include "linux/qt/QtRunLoop.h"
#include "linux/x11/X11Compositing.h"
#include "linux/x11/X11Connection.h"
#include "linux/x11/X11EventMonitors.h"
#include "linux/x11/X11InputState.h"
#include "linux/x11/X11KeyboardLayout.h"
#include "linux/x11/X11Screens.h"
#include "linux/x11/X11UserTime.h"
#include "linux/x11/XcbConnection.h"
#include "sim/SimDockWorld.h"
#include "ui/foundation/QtPanelHost.h"
#include "ui/palettes/QtPaletteViewFactory.h"

using namespace quillbern;

namespace {

using Clock = std::chrono::steady_clock;

// Runs the Qt loop until `done` holds, at most two seconds.
template <class Done>
bool spinUntil(Done done) {
    const auto until = Clock::now() + std::chrono::seconds(2);
    while (!done()) {
        if (Clock::now() > until) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return true;
}

// The real backends of the program, and the docks' store of the simulation for the list.
struct Desktop {
    Desktop()
        : connection(X11Connection::open()),
          compositing(*connection),
          appearance(compositing),
          screens(loop, threads),
          input(*connection, screens),
          layout(*connection),
          panels(
              frames, [this] { return screens.desktopSpace(); }, appearance, layout),
          events(
              *connection, input, screens, [this](std::uint32_t w) { return panels.panelOfWindow(w); }, userTime),
          views(appearance) {
        store.open({simDock(1, DockEdge::bottom), simDock(2, DockEdge::left), simDock(3, DockEdge::right)});
        for (const HotKeyBinding& binding : HotKeyBindings::resolve(store.pinned().profiles(), {}, true))
            registered.emplace(binding.action, binding.chord);
    }

    QtRunLoop loop;
    SystemClock clock;
    FrameClock frames{loop, clock};
    SystemThreads threads;
    std::unique_ptr<X11Connection> connection;
    X11Compositing compositing;
    LinuxSystemAppearance appearance;
    X11Screens screens;
    X11InputState input;
    X11KeyboardLayout layout;
    QtPanelHost panels;
    X11UserTime userTime{clock};
    X11EventMonitors events;
    QtPaletteViewFactory views;
    SimDockWorld store;
    RegisteredChords registered;
};

// Another application's window, which has the keyboard before each opening.
class OtherApplication {
public:
    OtherApplication() : owner_(XcbConnection::open()) {
        xcb_connection_t* c = owner_->xcb();
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        window_ = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window_, owner_->root(), 200, 200, 400, 300, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        xcb_map_window(c, window_);
        xcb_flush(c);
    }

    xcb_window_t window() const { return window_; }
    xcb_window_t focus() const {
        xcb_connection_t* c = owner_->xcb();
        xcb_get_input_focus_reply_t* reply = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
        const xcb_window_t focused = reply ? reply->focus : xcb_window_t(XCB_WINDOW_NONE);
        std::free(reply);
        return focused;
    }
    // As a pager asks: the window manager grants it.
    void activate() const {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window_;
        message.type = owner_->atom("_NET_ACTIVE_WINDOW");
        message.data.data32[0] = 2;
        xcb_send_event(owner_->xcb(), 0, owner_->root(),
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(owner_->xcb());
    }

private:
    std::unique_ptr<XcbConnection> owner_;
    xcb_window_t window_ = XCB_WINDOW_NONE;
};

xcb_window_t windowOf(const QtPanelHost& host, const Panel* panel) {
    if (!panel) return XCB_WINDOW_NONE;
    for (const QWindow* window : QGuiApplication::allWindows()) {
        if (window->handle() && host.panelOfWindow(std::uint32_t(window->winId())) == panel->serial())
            return xcb_window_t(window->winId());
    }
    return XCB_WINDOW_NONE;
}

void ShortcutSheetToggleToMappedWithFocus(benchmark::State& state) {
    Desktop desktop;
    OtherApplication other;
    ShortcutSheetController sheet({.palette = {.panels = desktop.panels,
                                               .views = desktop.views,
                                               .screens = desktop.screens,
                                               .input = desktop.input,
                                               .events = desktop.events,
                                               .mainLoop = desktop.loop},
                                   .layout = desktop.layout,
                                   .text = desktop.store.world.text},
                                  desktop.store.pinned(), [&desktop] { return desktop.registered; });
    for (auto _ : state) {
        other.activate();
        if (!spinUntil([&] { return other.focus() == other.window(); })) {
            state.SkipWithError("the other application did not get the keyboard");
            break;
        }
        const auto start = Clock::now();
        sheet.show();
        xcb_window_t window = XCB_WINDOW_NONE;
        const bool shown = spinUntil([&] {
            window = windowOf(desktop.panels, sheet.panel());
            return window != XCB_WINDOW_NONE && other.focus() == window;
        });
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (!shown) {
            state.SkipWithError("the sheet did not get the keyboard within 2 s");
            break;
        }
        sheet.dismiss();
        spinUntil([&] { return other.focus() != window; });
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("DISPLAY")) {
        std::printf(
            "quillbern_x11_palette_bench: skipped, $DISPLAY is not set (it needs an X server with a window "
            "manager)\n");
        return 0;
    }
    QApplication application(argc, argv);
    BENCHMARK(ShortcutSheetToggleToMappedWithFocus)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(20)
        ->ReportAggregatesOnly(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
