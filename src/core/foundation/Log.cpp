#include "core/foundation/Log.h"

#include <atomic>
#include <cstdio>
#include <string>

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
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
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
                    out += "\\x";
                    out += kHex[byte >> 4];
                    out += kHex[byte & 0xf];
                } else {
                    out += c;
                }
        }
    }
    return out;
}

}  // namespace quillbern
