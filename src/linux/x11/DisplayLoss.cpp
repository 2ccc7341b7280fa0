#include "linux/x11/DisplayLoss.h"

#include <QGuiApplication>
#include <utility>
#include <xcb/xcb.h>

namespace quillbern {

DisplayLoss::DisplayLoss(std::function<void()> onLost)
    : exit_([onLost = std::move(onLost)](int) {
          auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
          if (x11 && xcb_connection_has_error(x11->connection())) onLost();
      }) {}

}  // namespace quillbern
