// A window's client cut off by the X server, which ends most programs.
#include <xcb/xcb.h>

void quitClient(xcb_connection_t* connection, xcb_window_t window) {
    xcb_kill_client(connection, window);
}
