#include "core/model/DockEdge.h"

#include "core/foundation/Localization.h"

namespace quillbern {

std::string label(DockEdge edge) {
    switch (edge) {
        case DockEdge::bottom:
            // TRANSLATORS: the screen edge a dock stands on; the status menu shows it in lower case.
            return tr("Bottom");
        case DockEdge::top:
            return tr("Top");
        case DockEdge::left:
            return tr("Left");
        case DockEdge::right:
            return tr("Right");
    }
    return {};
}

}  // namespace quillbern
