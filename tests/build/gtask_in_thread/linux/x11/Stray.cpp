// Our code on a thread of GLib's pool.
#include <gio/gio.h>

void readAside(GTask* task) {
    g_task_run_in_thread(task, [](GTask*, gpointer, gpointer, GCancellable*) {});
}
