#include "linux/freedesktop/LinuxLauncher.h"

#include <algorithm>
#include <gio/gdesktopappinfo.h>
#include <memory>

#include "core/foundation/Log.h"
#include "linux/freedesktop/LinuxAppCatalog.h"

namespace quillbern {

namespace {

struct ObjectDeleter {
    void operator()(gpointer object) const { g_object_unref(object); }
};
using DesktopAppInfo = std::unique_ptr<GDesktopAppInfo, ObjectDeleter>;

Error errorFrom(GError* error, std::string fallback) {
    Error result{error ? error->message : std::move(fallback), "gio", error ? error->code : 0};
    if (error) g_error_free(error);
    return result;
}

using Started = std::function<void(Pid, const Path&)>;

// Launches the entry with the URIs (none: just the application).
Result<void> launchEntry(const Path& appPath, GList* uris, const Started& started) {
    const DesktopAppInfo info(g_desktop_app_info_new_from_filename(appPath.c_str()));
    if (!info) return Error{"not an application: " + appPath, "gio", 0};
    GError* error = nullptr;
    std::vector<Pid> pids;
    const auto collect =
        +[](GDesktopAppInfo*, GPid pid, gpointer pids) { static_cast<std::vector<Pid>*>(pids)->push_back(Pid(pid)); };
    if (!g_desktop_app_info_launch_uris_as_manager(info.get(), uris, nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr,
                                                   collect, &pids, &error)) {
        return errorFrom(error, "launch failed");
    }
    if (started) {
        for (const Pid pid : pids)
            started(pid, appPath);
    }
    return {};
}

}  // namespace

void LinuxLauncher::launch(const Path& appPath, bool, std::function<void(Result<void>)> done) {
    const AppId appId = desktopEntryId(appPath);
    const auto runningApps = apps_.runningApps();
    const auto runningOne = std::ranges::find_if(
        runningApps, [&](const RunningApp& app) { return app.appPath == appPath || app.appId == appId; });
    if (runningOne != runningApps.end()) {
        if (apps_.activate(runningOne->pid)) {
            done({});
        } else {
            done(Error{"could not bring " + appId + " forward", "quillbern", 0});
        }
        return;
    }
    done(launchEntry(appPath, nullptr, started_));
}

void LinuxLauncher::openWith(const std::vector<Path>& files, const Path& appPath) {
    GList* uris = nullptr;
    for (const Path& file : files) {
        if (gchar* uri = g_filename_to_uri(file.c_str(), nullptr, nullptr)) uris = g_list_append(uris, uri);
    }
    if (const auto opened = launchEntry(appPath, uris, started_); !opened) {
        log("opening files failed — ", escapedForLog(opened.error().message));
    }
    g_list_free_full(uris, g_free);
}

bool LinuxLauncher::openSystemSettings(SettingsPage) {
    return false;
}

}  // namespace quillbern
