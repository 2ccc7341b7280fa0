#include "linux/x11/DisplayLoss.h"

#include <QGuiApplication>
#include <cstdlib>
#include <utility>
#include <xcb/xcb.h>

namespace quillbern {

namespace {

std::function<void()>& lostHandler() {
    static std::function<void()> handler;
    return handler;
}

void atExit() {
    const std::function<void()> handler = std::exchange(lostHandler(), {});
    if (!handler || !qGuiApp) return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 && xcb_connection_has_error(x11->connection())) handler();
}

}  // namespace

DisplayLoss::DisplayLoss(std::function<void()> onLost) {
    static const bool registered = std::atexit(atExit) == 0;
    if (registered) lostHandler() = std::move(onLost);
}

DisplayLoss::~DisplayLoss() {
    lostHandler() = {};
}

}  // namespace quillbern
