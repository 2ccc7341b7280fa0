#include "linux/freedesktop/LinuxLauncher.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QUrl>
#include <algorithm>
#include <gio/gdesktopappinfo.h>
#include <memory>

#include "core/foundation/Log.h"
#include "core/foundation/Paths.h"
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

bool LinuxLauncher::open(const Path& path) {
    gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    if (!uri) return false;
    const bool opened = openUrl(uri);
    g_free(uri);
    return opened;
}

bool LinuxLauncher::openUrl(std::string_view url) {
    GError* error = nullptr;
    if (g_app_info_launch_default_for_uri(std::string(url).c_str(), nullptr, &error)) return true;
    log("opening ", escapedForLog(url), " failed — ", escapedForLog(errorFrom(error, "no application").message));
    return false;
}

void LinuxLauncher::reveal(const std::vector<Path>& paths) {
    if (paths.empty()) return;
    QStringList uris;
    for (const Path& path : paths)
        uris << QUrl::fromLocalFile(QString::fromStdString(path)).toString(QUrl::FullyEncoded);
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << uris << QString();
    // Asked without waiting: the file manager may first have to start.
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished,
                     [this, folder = parentPath(paths.front())](QDBusPendingCallWatcher* finished) {
                         if (finished->isError()) open(folder);
                         finished->deleteLater();
                     });
}

}  // namespace quillbern
