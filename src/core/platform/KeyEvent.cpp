#include "core/platform/KeyEvent.h"

namespace quillbern {

EventFlags ownWindowFlags(bool shift, bool ctrl, bool alt, bool super) {
    EventFlags flags = 0;
    if (shift) flags |= kShiftFlag;
    if (super) flags |= kControlFlag;
    if (alt) flags |= kOptionFlag;
    if (ctrl) flags |= kCommandFlag;
    return flags;
}

EventFlags globalChordFlags(bool shift, bool ctrl, bool alt, bool super) {
    // The same keys, Ctrl and Super trading places.
    return ownWindowFlags(shift, super, alt, ctrl);
}

}  // namespace quillbern
