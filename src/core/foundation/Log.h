#pragma once

#include <cstddef>
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

// The most characters of one text from outside that a log line shows: enough to tell it apart.
inline constexpr std::size_t kLoggedTextLength = 200;

// Text that came from outside (automation URLs, names of applications, windows, docks and
// files, paths, desktop entries' values, X properties, others' error messages), safe for one
// log line that reads as written: control characters, Unicode's invisible format controls
// (those that turn the text's direction, U+202E, among them) and bytes that are not UTF-8 are
// written as escapes, and beyond its first `maxCharacters` characters the text is cut, marked
// with "…".
std::string escapedForLog(std::string_view text, std::size_t maxCharacters = kLoggedTextLength);

}  // namespace quillbern
