#include "core/model/LossyItemArray.h"

namespace quillbern {

LossyItemArray LossyItemArray::read(const JsonReader& reader) {
    LossyItemArray list;
    const std::size_t count = reader.arraySize();
    list.elements.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        try {
            list.elements.push_back(PinnedItem::read(reader.element(i)));
        } catch (const DecodingError&) {
            ++list.skipped;
        }
    }
    return list;
}

}  // namespace quillbern
