#include "sim/SimTextServices.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <utility>

#include "core/platform/RelativeTime.h"

namespace quillbern {

namespace {

// The tab and the space separators (general category Zs), in UTF-8.
constexpr std::array<std::string_view, 18> kHorizontalSpaces{
    "\t",           " ",
    "\xC2\xA0",     "\xE1\x9A\x80",
    "\xE2\x80\x80", "\xE2\x80\x81",
    "\xE2\x80\x82", "\xE2\x80\x83",
    "\xE2\x80\x84", "\xE2\x80\x85",
    "\xE2\x80\x86", "\xE2\x80\x87",
    "\xE2\x80\x88", "\xE2\x80\x89",
    "\xE2\x80\x8A", "\xE2\x80\xAF",
    "\xE2\x81\x9F", "\xE3\x80\x80",
};

std::size_t leadingSpaceLength(std::string_view text) {
    for (const std::string_view space : kHorizontalSpaces) {
        if (text.starts_with(space)) return space.size();
    }
    return 0;
}

std::size_t trailingSpaceLength(std::string_view text) {
    for (const std::string_view space : kHorizontalSpaces) {
        if (text.ends_with(space)) return space.size();
    }
    return 0;
}

// The first scalar of UTF-8 text and its length in bytes; no check beyond the lead byte.
std::optional<std::pair<char32_t, std::size_t>> firstScalar(std::string_view text) {
    if (text.empty()) return std::nullopt;
    const auto lead = static_cast<std::uint8_t>(text[0]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || text.size() < length) return std::nullopt;
    char32_t scalar = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i)
        scalar = scalar << 6 | (static_cast<std::uint8_t>(text[i]) & 0x3F);
    return std::pair{scalar, length};
}

std::string utf8(char32_t scalar) {
    std::string out;
    if (scalar < 0x80) {
        out += static_cast<char>(scalar);
    } else if (scalar < 0x800) {
        out += static_cast<char>(0xC0 | scalar >> 6);
        out += static_cast<char>(0x80 | (scalar & 0x3F));
    } else if (scalar < 0x10000) {
        out += static_cast<char>(0xE0 | scalar >> 12);
        out += static_cast<char>(0x80 | (scalar >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (scalar & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | scalar >> 18);
        out += static_cast<char>(0x80 | (scalar >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (scalar >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (scalar & 0x3F));
    }
    return out;
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// U+00C0 to U+00FF without case and diacritics.
constexpr std::array<std::string_view, 64> kLatin1Folded{
    "a",        "a", "a", "a", "a", "a", "\xC3\xA6", "c",        "e",        "e", "e", "e", "i", "i", "i",        "i",
    "\xC3\xB0", "n", "o", "o", "o", "o", "o",        "\xC3\x97", "\xC3\xB8", "u", "u", "u", "u", "y", "\xC3\xBE", "ss",
    "a",        "a", "a", "a", "a", "a", "\xC3\xA6", "c",        "e",        "e", "e", "e", "i", "i", "i",        "i",
    "\xC3\xB0", "n", "o", "o", "o", "o", "o",        "\xC3\xB7", "\xC3\xB8", "u", "u", "u", "u", "y", "\xC3\xBE", "y",
};

bool isCombiningMark(char32_t c) {
    return c >= 0x300 && c <= 0x36F;
}

bool isLetterOrNumber(char32_t c) {
    if (c < 0x80) return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (c < 0x100) return c >= 0xC0 && c != 0xD7 && c != 0xF7;
    return !(c >= 0x2000 && c <= 0x206F) && c != 0x1680 && c != 0x3000;
}

}  // namespace

std::optional<std::string> SimTextServices::uppercasedFirstCharacter(std::string_view text) const {
    const auto first = firstScalar(text);
    if (!first) return std::nullopt;
    char32_t c = first->first;
    const bool controlOrSpace = c <= 0x20 || (c >= 0x7F && c <= 0xA0) || c == 0x2028 || c == 0x2029;
    const bool combining = c >= 0x300 && c <= 0x36F;
    if (controlOrSpace || combining || leadingSpaceLength(text) > 0) return std::nullopt;
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) c -= 0x20;
    return utf8(c);
}

std::string SimTextServices::lowercased(std::string_view text) const {
    std::string out;
    while (const auto scalar = firstScalar(text)) {
        char32_t c = scalar->first;
        if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) c += 0x20;
        out += utf8(c);
        text.remove_prefix(scalar->second);
    }
    return out;
}

bool SimTextServices::equalsIgnoringCase(std::string_view a, std::string_view b) const {
    return std::ranges::equal(a, b, [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

std::string SimTextServices::trimmingHorizontalSpace(std::string_view text) const {
    while (const std::size_t n = leadingSpaceLength(text))
        text.remove_prefix(n);
    while (const std::size_t n = trailingSpaceLength(text))
        text.remove_suffix(n);
    return std::string(text);
}

int SimTextServices::compare(std::string_view a, std::string_view b) const {
    const auto [left, right] =
        std::ranges::mismatch(a, b, [](char x, char y) { return asciiLower(x) == asciiLower(y); });
    if (left == a.end()) return right == b.end() ? 0 : -1;
    if (right == b.end()) return 1;
    return static_cast<unsigned char>(asciiLower(*left)) < static_cast<unsigned char>(asciiLower(*right)) ? -1 : 1;
}

void SimTextServices::fold(std::string_view text, FoldedText& into) const {
    into.folded.clear();
    into.originalOffsets.clear();
    std::size_t offset = 0;
    while (offset < text.size()) {
        const auto scalar = firstScalar(text.substr(offset));
        const std::size_t length = scalar ? scalar->second : 1;
        const char32_t c = scalar ? scalar->first : 0xFFFD;
        if (c < 0x80) {
            into.folded += asciiLower(static_cast<char>(c));
        } else if (c >= 0xC0 && c <= 0xFF) {
            into.folded += kLatin1Folded[c - 0xC0];
        } else if (!isCombiningMark(c)) {
            into.folded += text.substr(offset, length);
        }
        into.originalOffsets.resize(into.folded.size(), static_cast<std::uint32_t>(offset));
        offset += length;
    }
}

bool SimTextServices::isLetterOrNumberBefore(std::string_view text, std::size_t offset) const {
    text = text.substr(0, std::min(offset, text.size()));
    bool passedMark = false;
    while (!text.empty()) {
        std::size_t start = text.size() - 1;
        while (start > 0 && (static_cast<std::uint8_t>(text[start]) & 0xC0) == 0x80)
            --start;
        const auto scalar = firstScalar(text.substr(start));
        if (!scalar) return false;
        if (!isCombiningMark(scalar->first)) return isLetterOrNumber(scalar->first);
        passedMark = true;
        text = text.substr(0, start);
    }
    return passedMark;
}

std::string SimTextServices::formatRelative(WallTime when, WallTime now) const {
    using Unit = RelativeOffset::Unit;
    const RelativeOffset offset = relativeOffset(when, now);
    if (offset.value == 0) return "now";
    const bool past = offset.value < 0;
    const char* const names[] = {"second", "minute", "hour", "day", "week", "month", "year"};
    const std::string name = names[static_cast<int>(offset.unit)];
    if (offset.value == 1 || offset.value == -1) {
        if (offset.unit == Unit::day) return past ? "yesterday" : "tomorrow";
        if (offset.unit >= Unit::week) return (past ? "last " : "next ") + name;
    }
    const int count = past ? -offset.value : offset.value;
    const std::string amount = std::to_string(count) + " " + name + (count == 1 ? "" : "s");
    return past ? amount + " ago" : "in " + amount;
}

std::string SimTextServices::formatSeconds(double seconds) const {
    char out[48];
    std::snprintf(out, sizeof out, "%.2f sec", seconds);
    return out;
}

std::string SimTextServices::formatDateAndTime(WallTime when) const {
    const auto seconds = static_cast<std::time_t>(std::floor(when.sinceEpoch));
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char out[32];
    std::strftime(out, sizeof out, "%Y-%m-%d %H:%M", &parts);
    return out;
}

}  // namespace quillbern
