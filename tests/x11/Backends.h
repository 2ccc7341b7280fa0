#pragma once

#include <QGuiApplication>
#include <QWindow>
#include <cstdint>
#include <memory>
#include <xcb/xcb.h>

#include "core/foundation/Clock.h"
#include "core/platform/FrameClock.h"
#include "core/platform/SystemThreads.h"
#include "core/windows/WindowEngine.h"
#include "linux/freedesktop/LinuxSystemAppearance.h"
#include "linux/qt/QtRunLoop.h"
#include "linux/x11/X11Compositing.h"
#include "linux/x11/X11Connection.h"
#include "linux/x11/X11EventMonitors.h"
#include "linux/x11/X11InputState.h"
#include "linux/x11/X11KeyboardLayout.h"
#include "linux/x11/X11Restacks.h"
#include "linux/x11/X11Screens.h"
#include "linux/x11/X11UserTime.h"
#include "linux/x11/X11WindowAccess.h"
#include "ui/dock/QtDockViewFactory.h"
#include "ui/foundation/QtPanelHost.h"
#include "ui/workspace/QtWorkspaceViewFactory.h"

namespace quillbern::test {

// The real backends on the test's desktop, wired as the program wires them.
struct Backends {
    Backends()
        : connection(X11Connection::open()),
          compositing(*connection),
          appearance(compositing),
          screens(loop, threads),
          input(*connection, screens),
          layout(*connection),
          restacks(*connection),
          panels(
              frames, [this] { return screens.desktopSpace(); }, appearance, layout,
              [this](Task task) { return restacks.onRestack(std::move(task)); }),
          events(
              *connection, input, screens, [this](std::uint32_t window) { return panels.panelOfWindow(window); },
              userTime) {}

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
    X11Restacks restacks;
    QtPanelHost panels;
    QtDockViewFactory dockViews{frames};
    QtWorkspaceViewFactory workspaceViews{frames};
    X11UserTime userTime{clock};
    X11EventMonitors events;
};

// The window engine's ports over these backends, the windows listed and read through `access`,
// as the program wires them.
inline WindowEngine::Ports enginePorts(Backends& x, Threads& threads, X11WindowAccess& access, Permissions& permissions,
                                       RunningApps& apps, SessionEvents& session) {
    return {.worker = {.threads = threads,
                       .access = access,
                       .windowList = access,
                       .screens = x.screens,
                       .permissions = permissions,
                       .input = x.input,
                       .clock = x.clock},
            .apps = apps,
            .session = session,
            .screens = x.screens,
            .mainLoop = x.loop};
}

// The X window of a panel, found through the host as the event monitors find it.
inline xcb_window_t panelWindow(const QtPanelHost& host, std::uint64_t serial) {
    for (const QWindow* window : QGuiApplication::allWindows()) {
        if (window->handle() && host.panelOfWindow(std::uint32_t(window->winId())) == serial)
            return xcb_window_t(window->winId());
    }
    return XCB_WINDOW_NONE;
}

}  // namespace quillbern::test
