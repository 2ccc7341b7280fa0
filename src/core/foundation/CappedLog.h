#pragma once

#include <mutex>
#include <string>
#include <string_view>

#include "core/foundation/Clock.h"

namespace quillbern {

// The log of a source that may speak without end (a library's own messages): at most
// `perSecond` of its lines reach the log in any second, and the first line past the cap is
// replaced by one that says the rest of that second's are left out. Lines are logged as
// given: escape what came from outside first. Any thread.
class CappedLog {
public:
    // `source` names the lines in the note, in the plural: "Qt messages".
    CappedLog(const Clock& clock, std::string source, int perSecond);
    CappedLog(const CappedLog&) = delete;
    CappedLog& operator=(const CappedLog&) = delete;

    void log(std::string_view line);

private:
    const Clock& clock_;
    const std::string source_;
    const int perSecond_;
    std::mutex mutex_;
    MediaTime secondStart_;
    int inSecond_ = 0;
};

}  // namespace quillbern
