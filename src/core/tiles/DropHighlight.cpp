#include "core/tiles/DropHighlight.h"

namespace quillbern {

template <class Edit>
void DropHighlight::apply(Edit edit) {
    const bool before = isHighlighted();
    edit();
    if (isHighlighted() != before) changed.emit();
}

void DropHighlight::setBarTargeted(bool targeted) {
    apply([&] {
        barTargeted_ = targeted;
        if (targeted) tileDragHovers_ = 0;
    });
}

void DropHighlight::tileDragEntered() {
    apply([&] { ++tileDragHovers_; });
}

void DropHighlight::tileDragExited() {
    apply([&] {
        if (tileDragHovers_ > 0) --tileDragHovers_;
    });
}

}  // namespace quillbern
