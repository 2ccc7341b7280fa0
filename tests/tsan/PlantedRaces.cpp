// Races of ours that the libraries reach, which ThreadSanitizer must report under the
// project's suppressions: a counter that a GLib timeout of ours and a thread of ours both
// write, a buffer that a thread of ours writes while Qt copies it, and a counter that a task
// posted to the main loop writes while the thread that posted it writes it too. And what
// crosses from a worker to the main loop, which it must not report.
#include <glib.h>

#include <QByteArray>
#include <QCoreApplication>
#include <atomic>
#include <cstdio>
#include <string_view>
#include <thread>
#include <vector>

#include "linux/qt/QtRunLoop.h"

using quillbern::QtRunLoop;

namespace {

int counter = 0;
char buffer[64] = {};

gboolean countOnce(gpointer loop) {
    ++counter;
    g_main_loop_quit(static_cast<GMainLoop*>(loop));
    return G_SOURCE_REMOVE;
}

void writtenFromGLibAndAThread() {
    std::thread other([] { ++counter; });
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    g_timeout_add(0, countOnce, loop);
    g_main_loop_run(loop);
    g_main_loop_unref(loop);
    other.join();
}

void copiedByQtWhileWritten() {
    std::thread other([] {
        for (char& c : buffer)
            c = 'x';
    });
    const QByteArray copy(buffer, sizeof buffer);
    other.join();
    std::printf("%lld bytes copied\n", static_cast<long long>(copy.size()));
}

void writtenInAPostedTaskAndByItsPoster(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QtRunLoop loop;
    std::thread worker([&loop] {
        loop.post([] {
            ++counter;
            QCoreApplication::quit();
        });
        ++counter;
    });
    QCoreApplication::exec();
    worker.join();
}

// Reads the type of every event, as the program's input filters do.
class EventTypesRead final : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        read += event->type() != QEvent::None;
        return false;
    }
    int read = 0;
};

// Tasks posted and timers cancelled by a worker, each an event that Qt makes on the worker
// and the main thread's event filter reads. The worker tells it is done through a relaxed
// atomic, which orders nothing: only the hand-offs themselves order its work.
void handedToTheMainLoop(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    EventTypesRead filter;
    application.installEventFilter(&filter);
    QtRunLoop loop;
    constexpr int kCount = 100;
    std::vector<quillbern::Timer> timers;
    for (int i = 0; i < kCount; ++i)
        timers.push_back(loop.after(60.0, [] {}));
    std::atomic<bool> done = false;
    int ran = 0;
    std::thread worker([&] {
        for (quillbern::Timer& timer : timers) {
            loop.post([&ran] { ++ran; });
            timer.cancel();
        }
        done.store(true, std::memory_order_relaxed);
    });
    while (!done.load(std::memory_order_relaxed))
        QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    worker.join();
    std::printf("%d tasks ran, %d events read\n", ran, filter.read);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string_view which = argc > 1 ? argv[1] : "";
    if (which == "glib-callback") {
        writtenFromGLibAndAThread();
    } else if (which == "qt-copy") {
        copiedByQtWhileWritten();
    } else if (which == "posted-task") {
        writtenInAPostedTaskAndByItsPoster(argc, argv);
    } else if (which == "main-loop-hand-offs") {
        handedToTheMainLoop(argc, argv);
    } else {
        std::fprintf(stderr, "usage: %s glib-callback|qt-copy|posted-task|main-loop-hand-offs\n", argv[0]);
        return 2;
    }
    return 0;
}
