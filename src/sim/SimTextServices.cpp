#include "sim/SimTextServices.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

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

}  // namespace quillbern
