#include "core/windows/WindowAction.h"

#include <sstream>
#include <type_traits>

namespace quillbern {

namespace {

const char* boolText(bool value) {
    return value ? "true" : "false";
}

}  // namespace

std::string WindowAction::text() const {
    std::ostringstream out;
    std::visit(
        [&out](const auto& action) {
            using Kind = std::decay_t<decltype(action)>;
            if constexpr (std::is_same_v<Kind, SetMinimized>) {
                out << "setMinimized(" << boolText(action.minimized) << ')';
            } else if constexpr (std::is_same_v<Kind, Place>) {
                const RectTL& f = action.frame;
                out << "place(frame: (" << f.x << ", " << f.y << ", " << f.width << ", " << f.height
                    << "), focusNow: " << boolText(action.focusNow) << ')';
            } else if constexpr (std::is_same_v<Kind, Raise>) {
                out << "raise";
            } else {
                out << "close";
            }
        },
        kind_);
    return out.str();
}

}  // namespace quillbern
