#include "app/StallProbe.h"

#include <algorithm>
#include <cstdio>

namespace quillbern {

StallProbe::StallProbe() {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] { fired(); });
    clock_.start();
    lastNs_ = clock_.nsecsElapsed();
    timer_.start();
}

void StallProbe::fired() {
    const qint64 now = clock_.nsecsElapsed();
    longestNs_ = std::max(longestNs_, now - lastNs_ - qint64(kIntervalMs) * 1'000'000);
    lastNs_ = now;
    ++probes_;
}

std::string StallProbe::report() const {
    char text[160];
    std::snprintf(text, sizeof text, "the main loop's longest stall: %.1f ms (%lld probes every %d ms)",
                  double(longestNs_) / 1e6, probes_, kIntervalMs);
    return text;
}

}  // namespace quillbern
