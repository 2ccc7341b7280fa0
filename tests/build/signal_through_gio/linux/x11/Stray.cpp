// A child of GIO's signalled without being identified.
#include <gio/gio.h>

void quitChild(GSubprocess* child) {
    g_subprocess_send_signal(child, 15);
}
