#include "core/foundation/CappedLog.h"

#include <algorithm>
#include <utility>

#include "core/foundation/Log.h"

namespace quillbern {

CappedLog::CappedLog(const Clock& clock, std::string source, int perSecond)
    : clock_(clock), source_(std::move(source)), perSecond_(perSecond), secondStart_(clock.mediaNow()) {}

void CappedLog::log(std::string_view line) {
    int count;
    {
        const std::lock_guard lock(mutex_);
        const MediaTime now = clock_.mediaNow();
        if (now - secondStart_ >= 1) {
            secondStart_ = now;
            inSecond_ = 0;
        }
        // Past the note every line of the second counts alike.
        inSecond_ = std::min(inSecond_ + 1, perSecond_ + 2);
        count = inSecond_;
    }
    if (count <= perSecond_) {
        logLine(line);
    } else if (count == perSecond_ + 1) {
        quillbern::log("more than ", perSecond_, " ", source_, " in a second; the rest of this second's are left out");
    }
}

}  // namespace quillbern
