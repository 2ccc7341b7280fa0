#include "core/foundation/Log.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>

#include "core/foundation/Utf8.h"

namespace quillbern {

namespace {
std::atomic<LogSink*> currentSink{nullptr};
constexpr std::string_view kPrefix = "Quillbern: ";
}  // namespace

LogSink* setLogSink(LogSink* sink) {
    return currentSink.exchange(sink);
}

void logLine(std::string_view message) {
    std::string line;
    line.reserve(kPrefix.size() + message.size());
    line.append(kPrefix).append(message);
    if (LogSink* sink = currentSink.load()) {
        sink->write(line);
    } else {
        std::fprintf(stderr, "%s\n", line.c_str());
    }
}

namespace {

// The code point of one well-formed UTF-8 sequence.
char32_t codePointOf(std::string_view sequence) {
    if (sequence.size() == 1) return static_cast<unsigned char>(sequence[0]);
    char32_t point = static_cast<unsigned char>(sequence[0]) & (0x7f >> sequence.size());
    for (const char c : sequence.substr(1))
        point = (point << 6) | (static_cast<unsigned char>(c) & 0x3f);
    return point;
}

// Characters a log line must not hold as they are: the C0 and C1 controls, and Unicode's
// invisible format controls, which turn the direction of what follows (U+061C, U+200E,
// U+200F, U+202A to U+202E, U+2066 to U+2069), join, break lines or hide text.
bool isHidden(char32_t point) {
    constexpr std::pair<char32_t, char32_t> kRanges[] = {
        {0x00, 0x1f},     {0x7f, 0x9f},     {0xad, 0xad},     {0x61c, 0x61c},   {0x180e, 0x180e},  {0x200b, 0x200f},
        {0x2028, 0x202e}, {0x2060, 0x206f}, {0xfeff, 0xfeff}, {0xfff9, 0xfffb}, {0xe0000, 0xe007f}};
    for (const auto& [first, last] : kRanges) {
        if (point >= first && point <= last) return true;
    }
    return false;
}

}  // namespace

std::string escapedForLog(std::string_view text, std::size_t maxCharacters) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(std::min(text.size(), maxCharacters * 4));
    const auto hexEscape = [&out](std::string_view prefix, std::uint32_t value, int digits) {
        out += prefix;
        for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
            out += kHex[(value >> shift) & 0xf];
    };
    std::size_t i = 0;
    for (std::size_t shown = 0; i < text.size() && shown < maxCharacters; ++shown) {
        // A byte outside a well-formed sequence (a file name that is not UTF-8) would make
        // the whole line unreadable to the system log.
        const std::size_t length = utf8SequenceLength(text, i);
        if (length == 0) {
            hexEscape("\\x", static_cast<unsigned char>(text[i]), 2);
            ++i;
            continue;
        }
        const std::string_view sequence = text.substr(i, length);
        i += length;
        const char32_t point = codePointOf(sequence);
        if (point == '\n') {
            out += "\\n";
        } else if (point == '\r') {
            out += "\\r";
        } else if (point == '\t') {
            out += "\\t";
        } else if (point == '\\') {
            out += "\\\\";
        } else if (!isHidden(point)) {
            out.append(sequence);
        } else if (point < 0x80) {
            hexEscape("\\x", point, 2);
        } else if (point <= 0xffff) {
            hexEscape("\\u", point, 4);
        } else {
            hexEscape("\\U", point, 8);
        }
    }
    if (i < text.size()) out += "\u2026";
    return out;
}

}  // namespace quillbern
