// A command line made an application and launched.
#include <gio/gio.h>

bool runAside(const char* commandLine) {
    GAppInfo* info = g_app_info_create_from_commandline(commandLine, nullptr, G_APP_INFO_CREATE_NONE, nullptr);
    const bool started = info && g_app_info_launch(info, nullptr, nullptr, nullptr);
    if (info) g_object_unref(info);
    return started;
}
