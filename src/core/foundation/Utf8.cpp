#include "core/foundation/Utf8.h"

#include <cstdint>

namespace quillbern {

namespace {

// The length of the well-formed sequence at text[i] when positive; otherwise minus the
// number of bytes that one replacement character stands for.
int sequenceAt(std::string_view text, std::size_t i) {
    const auto lead = static_cast<std::uint8_t>(text[i]);
    if (lead < 0x80) return 1;
    int length = 0;
    // The allowed range of the second byte narrows for the leads where overlong forms,
    // surrogates or code points above U+10FFFF would otherwise pass.
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return -1;
    }
    for (int k = 1; k < length; ++k) {
        if (i + k >= text.size()) return -k;
        const auto next = static_cast<std::uint8_t>(text[i + k]);
        if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) return -k;
    }
    return length;
}

}  // namespace

bool isValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const int length = sequenceAt(text, i);
        if (length < 0) return false;
        i += static_cast<std::size_t>(length);
    }
    return true;
}

std::size_t utf8SequenceLength(std::string_view text, std::size_t i) {
    const int length = sequenceAt(text, i);
    return length > 0 ? static_cast<std::size_t>(length) : 0;
}

std::string replacingInvalidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const int length = sequenceAt(text, i);
        if (length > 0) {
            out.append(text.substr(i, static_cast<std::size_t>(length)));
            i += static_cast<std::size_t>(length);
        } else {
            out += "\xEF\xBF\xBD";
            i += static_cast<std::size_t>(-length);
        }
    }
    return out;
}

}  // namespace quillbern
