#include "core/foundation/Log.h"

#include <atomic>
#include <cstdio>
#include <string>

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

std::string escapedForLog(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    const auto hexEscape = [&out](unsigned char byte) {
        out += "\\x";
        out += kHex[byte >> 4];
        out += kHex[byte & 0xf];
    };
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            // A byte outside a well-formed sequence (a file name that is not UTF-8) would
            // make the whole line unreadable to the system log.
            const std::size_t length = utf8SequenceLength(text, i);
            if (length == 0) {
                hexEscape(byte);
                ++i;
            } else {
                out.append(text.substr(i, length));
                i += length;
            }
            continue;
        }
        switch (c) {
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                if (byte < 0x20 || byte == 0x7f) {
                    hexEscape(byte);
                } else {
                    out += c;
                }
        }
        ++i;
    }
    return out;
}

}  // namespace quillbern
