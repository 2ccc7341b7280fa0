#include "linux/i18n/CatalogueCheck.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>
#include <string>

#include "core/foundation/RegularFile.h"

namespace quillbern {

namespace {

constexpr std::uint32_t kMagic = 0x950412de;
// Magic, revision, count, the two string tables' offsets, the hash table's size and offset.
constexpr std::uint64_t kHeaderBytes = 28;
// Real headers take well under one kilobyte; gettext copies the character set named there
// onto the stack and evaluates the plural rule recursively.
constexpr std::uint64_t kMaxHeaderBytes = 4096;

Error fault(std::string reason) {
    return Error{std::move(reason), "catalogue", 0};
}

// The catalogue's 32-bit words in the byte order its magic number tells.
class Words {
public:
    Words(std::string_view bytes, bool swapped) : bytes_(bytes), swapped_(swapped) {}

    // Only where at + 4 lies inside the bytes.
    std::uint32_t at(std::uint64_t offset) const {
        std::uint32_t word = 0;
        std::memcpy(&word, bytes_.data() + offset, sizeof word);
        return swapped_ ? __builtin_bswap32(word) : word;
    }
    // Whether `count` items of `size` bytes from `offset` lie inside the bytes, aligned as gettext reads them.
    bool holds(std::uint64_t offset, std::uint64_t count, std::uint64_t size) const {
        return offset % 4 == 0 && offset + count * size <= bytes_.size();
    }

private:
    std::string_view bytes_;
    bool swapped_;
};

bool isPrime(std::uint32_t number) {
    if (number < 2) return false;
    for (std::uint32_t divisor = 2; divisor <= number / divisor; ++divisor) {
        if (number % divisor == 0) return false;
    }
    return true;
}

// gettext looks a text up at hash % size and then steps by 1 + hash % (size - 2) until it
// meets the text or an empty entry: with a prime size the steps reach every entry, and so
// the empty one. Every other entry names a string of the tables.
Result<void> checkHashTable(const Words& words, std::uint32_t strings) {
    const std::uint32_t size = words.at(20);
    const std::uint32_t offset = words.at(24);
    if (size == 0) return {};
    if (size < 3 || !isPrime(size)) return fault("its hash table has a size gettext cannot search");
    if (!words.holds(offset, size, 4)) return fault("its hash table lies outside the file");
    bool hasEmpty = false;
    for (std::uint32_t i = 0; i < size; ++i) {
        const std::uint32_t entry = words.at(offset + std::uint64_t(i) * 4);
        if (entry == 0) {
            hasEmpty = true;
        } else if (entry > strings) {
            return fault("its hash table names a string it does not hold");
        }
    }
    if (!hasEmpty) return fault("its hash table has no empty entry");
    return {};
}

// gettext reads the rule from the first "plural=" of the header up to its end, and divides as
// it says: only by a number other than zero (a number of ten digits may wrap around to zero).
Result<void> checkPluralRule(std::string_view header) {
    const std::size_t start = header.find("plural=");
    if (start == std::string_view::npos) return {};
    const std::string_view rule = header.substr(start, header.find(';', start) - start);
    for (std::size_t at = rule.find_first_of("/%"); at != std::string_view::npos;
         at = rule.find_first_of("/%", at + 1)) {
        const std::size_t digits = rule.find_first_not_of(" \t", at + 1);
        const std::size_t end = rule.find_first_not_of("0123456789", digits);
        const std::string_view number =
            digits == std::string_view::npos ? std::string_view() : rule.substr(digits, end - digits);
        if (number.empty() || number.size() > 9 || number.find_first_not_of('0') == std::string_view::npos)
            return fault("its plural rule may divide by zero");
    }
    return {};
}

}  // namespace

Result<void> checkCatalogue(std::string_view bytes) {
    if (bytes.size() < kHeaderBytes) return fault("shorter than a catalogue's header");
    std::uint32_t magic = 0;
    std::memcpy(&magic, bytes.data(), sizeof magic);
    if (magic != kMagic && __builtin_bswap32(magic) != kMagic) return fault("not a gettext catalogue");
    const Words words(bytes, magic != kMagic);
    // Revisions 0 and 1 without system-dependent strings, which msgfmt writes for C formats only.
    const std::uint32_t revision = words.at(4);
    if (revision >> 16 > 1 || (revision & 0xffff) != 0) return fault("a revision of the format it does not read");

    const std::uint32_t strings = words.at(8);
    const std::uint32_t originals = words.at(12);
    const std::uint32_t translations = words.at(16);
    if (!words.holds(originals, strings, 8) || !words.holds(translations, strings, 8))
        return fault("its string tables lie outside the file");
    if (auto hash = checkHashTable(words, strings); !hash) return hash;

    // Each string as a length and an offset, followed by a NUL inside the bytes.
    const auto stringAt = [&](std::uint32_t table, std::uint32_t index) -> std::optional<std::string_view> {
        const std::uint64_t length = words.at(table + std::uint64_t(index) * 8);
        const std::uint64_t offset = words.at(table + std::uint64_t(index) * 8 + 4);
        if (offset + length >= bytes.size() || bytes[offset + length] != '\0') return std::nullopt;
        return bytes.substr(offset, length);
    };
    for (std::uint32_t i = 0; i < strings; ++i) {
        const std::optional<std::string_view> original = stringAt(originals, i);
        const std::optional<std::string_view> translation = stringAt(translations, i);
        if (!original || !translation) return fault("a string lies outside the file or has no end");
        // gettext finds the header as the translation of the empty text, up to its first NUL.
        if (!original->empty() && original->front() != '\0') continue;
        if (translation->size() > kMaxHeaderBytes) return fault("its header is longer than 4096 bytes");
        if (auto plural = checkPluralRule(translation->substr(0, translation->find('\0'))); !plural) return plural;
    }
    return {};
}

Result<void> checkCatalogueFile(const std::filesystem::path& path) {
    const Result<std::string> bytes = readRegularFile(path, kMaxCatalogueBytes);
    if (!bytes) return bytes.error();
    return checkCatalogue(bytes.value());
}

std::vector<std::string> catalogueFoldersOf(std::string_view language) {
    // language[_territory][.codeset][@modifier], as glibc's _nl_explode_name splits it.
    const std::size_t at = std::min(language.find('@'), language.size());
    const std::string_view modifier = language.substr(at);
    const std::string_view withoutModifier = language.substr(0, at);
    const std::size_t dot = std::min(withoutModifier.find('.'), withoutModifier.size());
    const std::string_view codeset = withoutModifier.substr(dot);
    const std::string_view withoutCodeset = withoutModifier.substr(0, dot);
    const std::size_t underscore = std::min(withoutCodeset.find('_'), withoutCodeset.size());
    const std::string_view territory = withoutCodeset.substr(underscore);
    const std::string_view bare = withoutCodeset.substr(0, underscore);

    // The codeset's letters and digits in lower case, "iso" before digits alone.
    std::string normalized;
    bool digitsOnly = true;
    for (const char c : codeset.substr(std::min<std::size_t>(1, codeset.size()))) {
        if (!std::isalnum(static_cast<unsigned char>(c))) continue;
        digitsOnly = digitsOnly && std::isdigit(static_cast<unsigned char>(c));
        normalized += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (!normalized.empty()) normalized.insert(0, digitsOnly ? ".iso" : ".");
    std::vector<std::string_view> codesets{codeset};
    if (codeset.size() > 1 && normalized != codeset) codesets.push_back(normalized);
    codesets.push_back({});

    std::vector<std::string> folders;
    for (const std::string_view withModifier : {modifier, std::string_view()}) {
        for (const std::string_view withTerritory : {territory, std::string_view()}) {
            for (const std::string_view withCodeset : codesets) {
                std::string folder = std::string(bare) + std::string(withTerritory) + std::string(withCodeset) +
                                     std::string(withModifier);
                if (std::find(folders.begin(), folders.end(), folder) == folders.end())
                    folders.push_back(std::move(folder));
            }
        }
    }
    return folders;
}

}  // namespace quillbern
