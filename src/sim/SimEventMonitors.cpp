#include "sim/SimEventMonitors.h"

#include <memory>

namespace quillbern {

Subscription SimEventMonitors::onGlobalMouseDown(MouseButtons buttons, std::function<void(const MouseDown&)> handler) {
    return add(global_, "global", buttons, std::move(handler));
}

Subscription SimEventMonitors::onLocalMouseDown(MouseButtons buttons, std::function<void(const MouseDown&)> handler) {
    return add(local_, "local", buttons, std::move(handler));
}

Subscription SimEventMonitors::add(Signal<const MouseDown&>& signal, const std::string& kind, MouseButtons buttons,
                                   std::function<void(const MouseDown&)> handler) {
    calls_.push_back("add " + kind);
    if (refuses_) return {};
    auto connection =
        std::make_shared<Subscription>(signal.connect([buttons, handler = std::move(handler)](const MouseDown& press) {
            if (press.button & buttons) handler(press);
        }));
    return Subscription([this, kind, connection] {
        calls_.push_back("remove " + kind);
        connection->reset();
    });
}

}  // namespace quillbern
