#include "core/model/HotKeyChord.h"

#include <bit>

namespace quillbern {

int HotKeyChord::modifierCount() const {
    return std::popcount(modifiers & (kCommand | kShift | kOption | kControl));
}

std::optional<HotKeyChord> HotKeyChord::fromKeyEvent(KeyCode keyCode, EventFlags flags) {
    std::uint32_t mask = 0;
    if (flags & kCommandFlag) mask |= kCommand;
    if (flags & kShiftFlag) mask |= kShift;
    if (flags & kOptionFlag) mask |= kOption;
    if (flags & kControlFlag) mask |= kControl;
    // Shift alone never makes a chord.
    if ((mask & ~kShift) == 0) return std::nullopt;
    return HotKeyChord{keyCode, mask};
}

void HotKeyChord::write(JsonWriter& writer) const {
    writer.beginObject().key("keyCode").number(keyCode).key("modifiers").number(modifiers).endObject();
}

HotKeyChord HotKeyChord::read(const JsonReader& reader) {
    return {reader.required("keyCode").uint32(), reader.required("modifiers").uint32()};
}

}  // namespace quillbern
