#include "core/model/HotKeyChord.h"

namespace quillbern {

void HotKeyChord::write(JsonWriter& writer) const {
    writer.beginObject().key("keyCode").number(keyCode).key("modifiers").number(modifiers).endObject();
}

HotKeyChord HotKeyChord::read(const JsonReader& reader) {
    return {reader.required("keyCode").uint32(), reader.required("modifiers").uint32()};
}

}  // namespace quillbern
