#include "core/model/DockEdge.h"

#include "core/foundation/Localization.h"

namespace quillbern {

std::string label(DockEdge edge) {
    switch (edge) {
        case DockEdge::bottom:
            // TRANSLATORS: the screen edge a dock stands on, chosen in Settings ("Edge: Bottom");
            // a position along the edge is said by other texts.
            return trc("dock edge", "Bottom");
        case DockEdge::top:
            return trc("dock edge", "Top");
        case DockEdge::left:
            return trc("dock edge", "Left");
        case DockEdge::right:
            return trc("dock edge", "Right");
    }
    return {};
}

}  // namespace quillbern
