#include "core/windows/AccessFunctions.h"

#include "core/foundation/Log.h"

namespace quillbern {

std::optional<bool> axBool(WindowAccess& access, ElementRef element, Attribute attribute) {
    return access.readBool(element, attribute).optional();
}

std::optional<ElementRef> axElement(WindowAccess& access, ElementRef element, Attribute attribute) {
    return access.readElement(element, attribute).optional();
}

std::optional<RectTL> axFrame(WindowAccess& access, ElementRef element) {
    const auto position = access.readPosition(element);
    if (!position.hasValue()) return std::nullopt;
    const auto size = access.readSize(element);
    if (!size.hasValue()) return std::nullopt;
    const PointTL origin = position.value();
    return RectTL{origin.x, origin.y, size.value().width, size.value().height};
}

void MissingWindowIdWarning::write() {
    if (written_) return;
    written_ = true;
    log("the window-number call is gone from this Linux system — window identity is unavailable, so window "
        "tiles, the overview and previews will stay empty. The docks themselves still work.");
}

std::optional<WindowId> cgWindowID(WindowAccess& access, ElementRef window, MissingWindowIdWarning& warning) {
    const auto number = access.windowId(window);
    if (number.isNotImplemented()) {
        warning.write();
        return std::nullopt;
    }
    if (!number.hasValue() || number.value() == 0) return std::nullopt;
    return number.value();
}

OnScreenBounds cgOnScreenBounds(const WindowList& list) {
    OnScreenBounds bounds;
    const auto windows = list.onScreenWindows();
    if (!windows) return bounds;
    for (const ListedWindow& window : *windows) {
        if (window.layer != 0 || window.id == 0 || !window.bounds) continue;
        bounds.insert_or_assign(window.id, *window.bounds);
    }
    return bounds;
}

}  // namespace quillbern
