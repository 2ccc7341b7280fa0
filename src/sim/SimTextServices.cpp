#include "sim/SimTextServices.h"

#include <algorithm>
#include <array>

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

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

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
