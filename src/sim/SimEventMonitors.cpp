#include "sim/SimEventMonitors.h"

namespace quillbern {

Subscription SimEventMonitors::onGlobalMouseDown(MouseButtons buttons, std::function<void(const MouseDown&)> handler) {
    return add(global_, buttons, std::move(handler));
}

Subscription SimEventMonitors::onLocalMouseDown(MouseButtons buttons, std::function<void(const MouseDown&)> handler) {
    return add(local_, buttons, std::move(handler));
}

Subscription SimEventMonitors::add(Signal<const MouseDown&>& signal, MouseButtons buttons,
                                   std::function<void(const MouseDown&)> handler) {
    if (refuses_) return {};
    return signal.connect([buttons, handler = std::move(handler)](const MouseDown& press) {
        if (press.button & buttons) handler(press);
    });
}

}  // namespace quillbern
