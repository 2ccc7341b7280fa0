#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <string>

namespace quillbern {

// For the benchmarks: a timer on the main loop that fires every few milliseconds and
// remembers how late it came at worst, which is how long the loop was kept from its
// events. Started by the program when QUILLBERN_STALL_PROBE is set.
class StallProbe final : public QObject {
public:
    static constexpr int kIntervalMs = 5;

    StallProbe();
    // "the main loop's longest stall: ..." for the log.
    std::string report() const;

private:
    void fired();

    QTimer timer_;
    QElapsedTimer clock_;
    qint64 lastNs_ = 0;
    qint64 longestNs_ = 0;
    long long probes_ = 0;
};

}  // namespace quillbern
