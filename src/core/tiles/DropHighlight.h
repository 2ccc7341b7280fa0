#pragma once

#include "core/foundation/Signal.h"

namespace quillbern {

// Whether a dock's bar shows its drop highlight: while a file drag is over the bar itself
// or over any of its tiles that take drops. Main thread.
class DropHighlight {
public:
    // The bar's own drop target; a drag arriving there has left every tile.
    void setBarTargeted(bool targeted);
    // A tile's drop target; exits never count below none.
    void tileDragEntered();
    void tileDragExited();

    int tileDragHovers() const { return tileDragHovers_; }
    bool isHighlighted() const { return barTargeted_ || tileDragHovers_ > 0; }

    // When isHighlighted changes.
    Signal<> changed;

private:
    template <class Edit>
    void apply(Edit edit);

    bool barTargeted_ = false;
    int tileDragHovers_ = 0;
};

}  // namespace quillbern
