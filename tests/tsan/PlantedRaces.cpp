// Races of ours that the libraries reach, which ThreadSanitizer must report under the
// project's suppressions: a counter that a GLib timeout of ours and a thread of ours both
// write, and a buffer that a thread of ours writes while Qt copies it.
#include <glib.h>

#include <QByteArray>
#include <cstdio>
#include <string_view>
#include <thread>

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

}  // namespace

int main(int argc, char** argv) {
    const std::string_view which = argc > 1 ? argv[1] : "";
    if (which == "glib-callback") {
        writtenFromGLibAndAThread();
    } else if (which == "qt-copy") {
        copiedByQtWhileWritten();
    } else {
        std::fprintf(stderr, "usage: %s glib-callback|qt-copy\n", argv[0]);
        return 2;
    }
    return 0;
}
