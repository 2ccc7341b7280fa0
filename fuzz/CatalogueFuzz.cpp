// gettext catalogues as anyone may install them: whatever the bytes, the check reads only
// them; a catalogue it accepts stays accepted with more bytes after it; and in one it accepts,
// gettext's search of the hash table, done here as gettext does it, ends for any text at an
// empty entry or at a string the tables hold.
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "linux/i18n/CatalogueCheck.h"

using namespace quillbern;
using namespace quillbern::fuzz;

namespace {

constexpr std::uint32_t kMagic = 0x950412de;

std::uint32_t wordAt(std::string_view bytes, std::size_t offset, bool swapped) {
    std::uint32_t word = 0;
    std::memcpy(&word, bytes.data() + offset, sizeof word);
    return swapped ? __builtin_bswap32(word) : word;
}

// gettext's hash of a text (hashpjw on 32 bits).
std::uint32_t gettextHash(std::string_view text) {
    std::uint32_t hash = 0;
    for (const char c : text) {
        hash = (hash << 4) + static_cast<unsigned char>(c);
        if (const std::uint32_t high = hash & 0xf0000000u; high != 0) {
            hash ^= high >> 24;
            hash ^= high;
        }
    }
    return hash;
}

// Searches `text` as gettext does, within as many probes as the table has entries.
void searchEndsFor(std::string_view bytes, bool swapped, std::string_view text) {
    const std::uint32_t strings = wordAt(bytes, 8, swapped);
    const std::uint32_t originals = wordAt(bytes, 12, swapped);
    const std::uint32_t size = wordAt(bytes, 20, swapped);
    const std::uint32_t table = wordAt(bytes, 24, swapped);
    const std::uint32_t hash = gettextHash(text);
    std::uint32_t index = hash % size;
    const std::uint32_t step = 1 + hash % (size - 2);
    for (std::uint32_t probes = 0; probes < size; ++probes) {
        const std::uint32_t entry = wordAt(bytes, table + std::size_t(index) * 4, swapped);
        if (entry == 0) return;
        require(entry - 1 < strings, "a hash entry names a string of the tables");
        const std::size_t descriptor = originals + std::size_t(entry - 1) * 8;
        const std::uint32_t offset = wordAt(bytes, descriptor + 4, swapped);
        require(offset < bytes.size(), "a string of the tables lies inside the catalogue");
        if (bytes.substr(offset, text.size() + 1) == std::string(text) + '\0') return;
        index = index >= size - step ? index - (size - step) : index + step;
    }
    require(false, "gettext's search of the hash table ends");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceLog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = textOf(data, size);
    if (!checkCatalogue(bytes)) return 0;

    require(bool(checkCatalogue(std::string(bytes) + std::string("\0\x95\x04\x12\xde tail", 10))),
            "bytes after an accepted catalogue change nothing");
    const bool swapped = wordAt(bytes, 0, false) != kMagic;
    if (wordAt(bytes, 20, swapped) < 3) return 0;
    const std::uint32_t strings = wordAt(bytes, 8, swapped);
    const std::uint32_t originals = wordAt(bytes, 12, swapped);
    for (std::uint32_t i = 0; i < std::min<std::uint32_t>(strings, 8); ++i) {
        const std::uint32_t length = wordAt(bytes, originals + std::size_t(i) * 8, swapped);
        const std::uint32_t offset = wordAt(bytes, originals + std::size_t(i) * 8 + 4, swapped);
        const std::string_view original = bytes.substr(offset, length);
        searchEndsFor(bytes, swapped, original.substr(0, original.find('\0')));
    }
    searchEndsFor(bytes, swapped, "a text no catalogue holds");
    return 0;
}
