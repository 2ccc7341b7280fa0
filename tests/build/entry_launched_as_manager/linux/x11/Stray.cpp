// A desktop entry launched outside the launcher.
#include <gio/gdesktopappinfo.h>

bool runAside(GDesktopAppInfo* entry) {
    return g_desktop_app_info_launch_uris_as_manager(entry, nullptr, nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr,
                                                     nullptr, nullptr, nullptr);
}
