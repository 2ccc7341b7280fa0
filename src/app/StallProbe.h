#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <string>
#include <typeinfo>

namespace quillbern {

// For the benchmarks: a timer on the main loop that fires every few milliseconds and
// remembers how late it came at worst, which is how long the loop was kept from its
// events. On a busy machine part of that is time the thread waited for a processor
// (the kernel counts it per thread), and part is the idle loop woken later than it asked
// (seen by timing the loop's waits); the probe also tells the worst lateness without
// either, which is the loop's own. Started by the program when QUILLBERN_STALL_PROBE is set, to
// the seconds after which it starts counting, so the start-up's own work is left out.
// Through ProbedApplication it also times each event the loop hands out and names the
// kind of the longest: the task or timer of the main run loop, else the event and its
// receiver's class, and counts the windows' repaints.
class StallProbe final : public QObject {
public:
    static constexpr int kIntervalMs = 5;

    explicit StallProbe(double delaySeconds);
    ~StallProbe() override;
    // "the main loop's longest stall: ..." for the log.
    std::string report() const;
    // One event the loop handed out (not those sent while handling another), how long it
    // took and how much of that the thread ran; `task` is the run loop's task it ran, if any.
    void delivered(qint64 nanoseconds, qint64 onProcessorNs, const std::type_info* task, const char* receiverClass,
                   int eventType);
    void windowPainted() { ++repaints_; }
    bool isCounting() const { return clock_.isValid(); }

private:
    void fired();

    QTimer timer_;
    QTimer delay_;
    QElapsedTimer clock_;
    qint64 lastNs_ = 0;
    qint64 lastWaitedNs_ = 0;
    qint64 lastWokenLateNs_ = 0;
    qint64 longestNs_ = 0;
    qint64 longestOwnNs_ = 0;
    qint64 longestWokenLateNs_ = 0;
    long long probes_ = 0;
    qint64 longestTaskNs_ = 0;
    qint64 longestTaskCpuNs_ = 0;
    std::string longestTask_;
    // A piece of work, named only when reported.
    struct Work {
        const std::type_info* task = nullptr;
        const char* receiverClass = nullptr;
        int eventType = 0;
    };
    // The events handed out since the probe last fired: how many, how long in all, and the
    // longest of them; kept for the longest stall, to tell one long piece from many.
    struct Interval {
        long long events = 0;
        qint64 handledNs = 0;
        qint64 longestNs = 0;
        Work longest;
    };
    Interval sinceFired_;
    Interval longestStall_;
    long long repaints_ = 0;
};

// The program's application object: while a probe is set, each event it hands out from
// the loop is timed for the probe, and each paint of a top-level window counted.
class ProbedApplication final : public QApplication {
public:
    using QApplication::QApplication;

    void setProbe(StallProbe* probe) { probe_ = probe; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    StallProbe* probe_ = nullptr;
    int depth_ = 0;
};

}  // namespace quillbern
