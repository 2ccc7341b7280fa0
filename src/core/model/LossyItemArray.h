#pragma once

#include <cstddef>
#include <vector>

#include "core/model/JsonReader.h"
#include "core/model/PinnedItem.h"

namespace quillbern {

// A dock's item list as read: the elements that read as items, in order. Elements that
// do not are stepped over; only their number is kept, so the reader can preserve what
// it could not read. Never written.
struct LossyItemArray {
    std::vector<PinnedItem> elements;
    std::size_t skipped = 0;

    // Fails only when the value is not an array.
    static LossyItemArray read(const JsonReader& reader);
};

}  // namespace quillbern
