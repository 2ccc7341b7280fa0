#include "app/StallProbe.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace quillbern {

StallProbe::StallProbe(double delaySeconds) : schedstat_(::open("/proc/thread-self/schedstat", O_RDONLY | O_CLOEXEC)) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] { fired(); });
    delay_.setSingleShot(true);
    connect(&delay_, &QTimer::timeout, this, [this] {
        clock_.start();
        lastNs_ = clock_.nsecsElapsed();
        lastWaitedNs_ = waitedForProcessor();
        timer_.start();
    });
    delay_.start(std::max(0, int(delaySeconds * 1000)));
}

StallProbe::~StallProbe() {
    if (schedstat_ >= 0) ::close(schedstat_);
}

qint64 StallProbe::waitedForProcessor() const {
    // "<on-cpu ns> <waiting ns> <timeslices>"
    char text[96] = {};
    if (schedstat_ < 0 || ::pread(schedstat_, text, sizeof text - 1, 0) <= 0) return 0;
    char* end = nullptr;
    std::strtoll(text, &end, 10);
    return std::strtoll(end, nullptr, 10);
}

void StallProbe::fired() {
    const qint64 now = clock_.nsecsElapsed();
    const qint64 waited = waitedForProcessor();
    const qint64 late = now - lastNs_ - qint64(kIntervalMs) * 1'000'000;
    longestNs_ = std::max(longestNs_, late);
    longestOwnNs_ = std::max(longestOwnNs_, late - (waited - lastWaitedNs_));
    lastNs_ = now;
    lastWaitedNs_ = waited;
    ++probes_;
}

std::string StallProbe::report() const {
    char text[200];
    std::snprintf(text, sizeof text,
                  "the main loop's longest stall: %.1f ms, %.1f ms of it its own, not waiting for a processor "
                  "(%lld probes every %d ms)",
                  double(longestNs_) / 1e6, double(longestOwnNs_) / 1e6, probes_, kIntervalMs);
    return text;
}

}  // namespace quillbern
