#include "core/model/DockName.h"

#include <algorithm>
#include <vector>

#include "core/foundation/Utf8.h"

namespace quillbern {

namespace {

// The code point of the well-formed sequence of `length` bytes at text[i].
char32_t codePointAt(std::string_view text, std::size_t i, std::size_t length) {
    const auto byte = [&text, i](std::size_t k) {
        return static_cast<char32_t>(static_cast<unsigned char>(text[i + k]));
    };
    if (length == 1) return byte(0);
    char32_t point = byte(0) & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k)
        point = point << 6 | (byte(k) & 0x3F);
    return point;
}

// What separates lines or columns: one space stands for it between words.
bool isBreak(char32_t c) {
    return c == U'\t' || c == U'\n' || c == U'\v' || c == U'\f' || c == U'\r' || c == U'\u0085' || c == U'\u2028' ||
           c == U'\u2029';
}

bool isTakenOut(char32_t c) {
    const bool control = c < 0x20 || (c >= 0x7F && c <= 0x9F);
    const bool embeddingOrOverride = c >= 0x202A && c <= 0x202E;
    const bool isolate = c >= 0x2066 && c <= 0x2069;
    return control || embeddingOrOverride || isolate;
}

}  // namespace

std::string oneLineName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    bool broken = false;
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t length = utf8SequenceLength(name, i);
        if (length == 0) {
            // Not text; whoever stores the name refuses it.
            out += name[i++];
            continue;
        }
        const char32_t c = codePointAt(name, i, length);
        if (isBreak(c)) {
            broken = !out.empty();
        } else if (!isTakenOut(c)) {
            if (broken && out.back() != ' ' && c != U' ') out += ' ';
            broken = false;
            out.append(name.substr(i, length));
        }
        i += length;
    }
    return out;
}

std::string nameInText(std::string_view name, std::size_t longest) {
    // Where each character starts; a broken sequence counts byte by byte.
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < name.size(); i += std::max<std::size_t>(utf8SequenceLength(name, i), 1))
        starts.push_back(i);
    if (starts.size() <= longest) return std::string(name);
    const std::size_t head = longest / 2;
    const std::size_t tail = longest - head - 1;
    return std::string(name.substr(0, starts[head])) + "…" + std::string(name.substr(starts[starts.size() - tail]));
}

}  // namespace quillbern
