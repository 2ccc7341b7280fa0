#include "linux/dbus/SessionBusLoss.h"

#include <QDBusConnection>
#include <gio/gio.h>

#include "core/foundation/Log.h"

namespace quillbern {

SessionBusLoss::SessionBusLoss() {
    if (!QDBusConnection::sessionBus().isConnected()) return;
    bus_ = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!bus_) return;
    g_dbus_connection_set_exit_on_close(bus_, FALSE);
    // GIO tells of the end once, on the main context the connection was made on.
    closed_ = g_signal_connect(bus_, "closed", G_CALLBACK(+[](GDBusConnection*, gboolean, GError*, gpointer) {
                                   log("the session bus has gone away; Quillbern goes on without it, and later starts "
                                       "still reach it through the runtime directory");
                               }),
                               nullptr);
}

SessionBusLoss::~SessionBusLoss() {
    if (!bus_) return;
    g_signal_handler_disconnect(bus_, closed_);
    g_object_unref(bus_);
}

}  // namespace quillbern
