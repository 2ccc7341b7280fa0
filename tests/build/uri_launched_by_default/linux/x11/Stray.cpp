// A URI opened by GIO, which starts whatever program the desktop has for it.
#include <gio/gio.h>

bool show(const char* uri) {
    return g_app_info_launch_default_for_uri(uri, nullptr, nullptr);
}
