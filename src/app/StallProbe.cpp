#include "app/StallProbe.h"

#include <cxxabi.h>
#include <fcntl.h>
#include <glib.h>
#include <unistd.h>

#include <QEvent>
#include <QMetaEnum>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "linux/qt/QtRunLoop.h"

namespace quillbern {

namespace {

// A task's type as written in the source, its argument lists left out to keep it short.
std::string taskName(const std::type_info& type) {
    // The names of local types (lambdas) are mangled without the symbol's prefix.
    const std::string mangled = type.name();
    int status = 0;
    const std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(("_Z" + mangled).c_str(), nullptr, nullptr, &status), std::free);
    const std::string full = status == 0 && demangled ? demangled.get() : mangled;
    std::string name;
    int depth = 0;
    for (const char c : full) {
        if (c == '(') ++depth;
        if (depth == 0) name += c;
        if (c == ')' && depth > 0 && --depth == 0) name += "()";
    }
    return "the main loop's task " + name;
}

qint64 threadCpuNs() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

std::string eventName(const char* receiverClass, int type) {
    const char* typeName = QMetaEnum::fromType<QEvent::Type>().valueToKey(type);
    return std::string(typeName ? typeName : "event " + std::to_string(type)) + " to " + receiverClass;
}

std::string workName(const std::type_info* task, const char* receiverClass, int eventType) {
    return task ? taskName(*task) : eventName(receiverClass, eventType);
}

// The main thread's scheduling figures, while a probe runs.
int schedstat = -1;

// Nanoseconds the main thread has waited, runnable, for a processor; 0 where unknown.
qint64 waitedForProcessor() {
    // "<on-cpu ns> <waiting ns> <timeslices>"
    char text[96] = {};
    if (schedstat < 0 || ::pread(schedstat, text, sizeof text - 1, 0) <= 0) return 0;
    char* end = nullptr;
    std::strtoll(text, &end, 10);
    return std::strtoll(end, nullptr, 10);
}

GPollFunc systemPoll = nullptr;
// Nanoseconds the loop has slept past the times it asked to be woken at.
qint64 sleptPastTimeoutNs = 0;

qint64 monotonicNs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// The loop's waits, timed to tell how long it slept past the time it asked to be woken at.
gint timedPoll(GPollFD* fds, guint count, gint timeoutMs) {
    const qint64 before = monotonicNs();
    const qint64 waitedBefore = waitedForProcessor();
    const int ready = systemPoll(fds, count, timeoutMs);
    if (timeoutMs >= 0) {
        // Woken, the thread may still wait for a processor: that counts as waiting.
        const qint64 asleep = monotonicNs() - before - (waitedForProcessor() - waitedBefore);
        sleptPastTimeoutNs += std::max<qint64>(0, asleep - qint64(timeoutMs) * 1'000'000);
    }
    return ready;
}

}  // namespace

bool ProbedApplication::notify(QObject* receiver, QEvent* event) {
    // A window's own paint comes with every repaint of a translucent one, whatever asked for it.
    if (probe_ && probe_->isCounting() && event->type() == QEvent::Paint && receiver && receiver->isWidgetType() &&
        static_cast<QWidget*>(receiver)->isWindow())
        probe_->windowPainted();
    if (!probe_ || !probe_->isCounting() || depth_ > 0) return QApplication::notify(receiver, event);
    // The receiver may go while the event is handled: its class is taken before.
    const char* receiverClass = receiver ? receiver->metaObject()->className() : "nothing";
    const int type = event->type();
    QtRunLoop::takeLastTask();
    QElapsedTimer timer;
    timer.start();
    const qint64 cpuBefore = threadCpuNs();
    ++depth_;
    struct Leave {
        int& depth;
        ~Leave() { --depth; }
    } leave{depth_};
    const bool handled = QApplication::notify(receiver, event);
    const qint64 took = timer.nsecsElapsed();
    probe_->delivered(took, threadCpuNs() - cpuBefore, QtRunLoop::takeLastTask(), receiverClass, type);
    return handled;
}

void StallProbe::delivered(qint64 nanoseconds, qint64 onProcessorNs, const std::type_info* task,
                           const char* receiverClass, int eventType) {
    ++sinceFired_.events;
    sinceFired_.handledNs += nanoseconds;
    if (nanoseconds > sinceFired_.longestNs) {
        sinceFired_.longestNs = nanoseconds;
        sinceFired_.longest = {task, receiverClass, eventType};
    }
    if (nanoseconds <= longestTaskNs_) return;
    longestTaskNs_ = nanoseconds;
    longestTaskCpuNs_ = onProcessorNs;
    longestTask_ = workName(task, receiverClass, eventType);
}

StallProbe::StallProbe(double delaySeconds) {
    schedstat = ::open("/proc/thread-self/schedstat", O_RDONLY | O_CLOEXEC);
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] { fired(); });
    delay_.setSingleShot(true);
    connect(&delay_, &QTimer::timeout, this, [this] {
        clock_.start();
        lastNs_ = clock_.nsecsElapsed();
        lastWaitedNs_ = waitedForProcessor();
        lastWokenLateNs_ = sleptPastTimeoutNs;
        timer_.start();
    });
    delay_.start(std::max(0, int(delaySeconds * 1000)));
    // The main thread's loop waits through the default context's poll.
    systemPoll = g_main_context_get_poll_func(nullptr);
    g_main_context_set_poll_func(nullptr, &timedPoll);
}

StallProbe::~StallProbe() {
    g_main_context_set_poll_func(nullptr, systemPoll);
    if (schedstat >= 0) ::close(schedstat);
    schedstat = -1;
}

void StallProbe::fired() {
    const qint64 now = clock_.nsecsElapsed();
    const qint64 waited = waitedForProcessor();
    const qint64 wokenLateNs = sleptPastTimeoutNs;
    const qint64 late = now - lastNs_ - qint64(kIntervalMs) * 1'000'000;
    if (late > longestNs_) longestStall_ = sinceFired_;
    sinceFired_ = {};
    longestNs_ = std::max(longestNs_, late);
    longestOwnNs_ = std::max(longestOwnNs_, late - (waited - lastWaitedNs_) - (wokenLateNs - lastWokenLateNs_));
    longestWokenLateNs_ = std::max(longestWokenLateNs_, wokenLateNs - lastWokenLateNs_);
    lastNs_ = now;
    lastWaitedNs_ = waited;
    lastWokenLateNs_ = wokenLateNs;
    ++probes_;
}

std::string StallProbe::report() const {
    char text[320];
    std::snprintf(text, sizeof text,
                  "the main loop's longest stall: %.1f ms, %.1f ms of it its own, not waiting for a processor "
                  "nor woken late (%lld probes every %d ms; woken up to %.1f ms late); its longest piece of work: "
                  "%.1f ms (%.1f ms of it on a processor), ",
                  double(longestNs_) / 1e6, double(longestOwnNs_) / 1e6, probes_, kIntervalMs,
                  double(longestWokenLateNs_) / 1e6, double(longestTaskNs_) / 1e6, double(longestTaskCpuNs_) / 1e6);
    const double seconds = std::max(1e-9, double(lastNs_) / 1e9);
    char during[200];
    std::snprintf(during, sizeof during,
                  "; from the probe before the longest stall to its end the loop handed out %lld events taking "
                  "%.1f ms, the longest %.1f ms: ",
                  longestStall_.events, double(longestStall_.handledNs) / 1e6, double(longestStall_.longestNs) / 1e6);
    const Work& piece = longestStall_.longest;
    char repaints[96];
    std::snprintf(repaints, sizeof repaints, "; %lld window repaints, %.1f a second", repaints_,
                  double(repaints_) / seconds);
    return text + (longestTask_.empty() ? std::string("none") : longestTask_) + during +
           (piece.receiverClass ? workName(piece.task, piece.receiverClass, piece.eventType) : std::string("none")) +
           repaints;
}

}  // namespace quillbern
