#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <string>

namespace quillbern {

// For the benchmarks: a timer on the main loop that fires every few milliseconds and
// remembers how late it came at worst, which is how long the loop was kept from its
// events. On a busy machine part of that is time the thread waited for a processor
// (the kernel counts it per thread); the probe also tells the worst lateness without it,
// which is the loop's own. Started by the program when QUILLBERN_STALL_PROBE is set, to
// the seconds after which it starts counting, so the start-up's own work is left out.
class StallProbe final : public QObject {
public:
    static constexpr int kIntervalMs = 5;

    explicit StallProbe(double delaySeconds);
    ~StallProbe() override;
    // "the main loop's longest stall: ..." for the log.
    std::string report() const;

private:
    void fired();
    // Nanoseconds this thread has waited, runnable, for a processor; 0 where unknown.
    qint64 waitedForProcessor() const;

    QTimer timer_;
    QTimer delay_;
    QElapsedTimer clock_;
    int schedstat_ = -1;
    qint64 lastNs_ = 0;
    qint64 lastWaitedNs_ = 0;
    qint64 longestNs_ = 0;
    qint64 longestOwnNs_ = 0;
    long long probes_ = 0;
};

}  // namespace quillbern
