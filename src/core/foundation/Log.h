#pragma once

#include <sstream>
#include <string>
#include <string_view>

namespace quillbern {

// Where diagnostic lines go: the system log and standard error in the program,
// a list in tests. write() may be called from any thread.
class LogSink {
public:
    virtual ~LogSink() = default;
    virtual void write(std::string_view line) = 0;
};

// Installs the process's sink and returns the previous one (nullptr: standard error).
LogSink* setLogSink(LogSink* sink);

// Writes "Quillbern: " followed by the line.
void logLine(std::string_view message);

// Writes the parts one after another, streamed, as one line.
template <class... Parts>
void log(const Parts&... parts) {
    std::ostringstream out;
    (out << ... << parts);
    logLine(out.str());
}

// Text that came from outside (names, paths, URLs), safe for one log line:
// control characters are written as escapes.
std::string escapedForLog(std::string_view text);

}  // namespace quillbern
