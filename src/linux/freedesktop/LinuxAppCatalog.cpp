#include "linux/freedesktop/LinuxAppCatalog.h"

#include <QAbstractEventDispatcher>
#include <algorithm>
#include <gio/gdesktopappinfo.h>

#include "core/foundation/Log.h"
#include "core/foundation/Paths.h"
#include "linux/freedesktop/DesktopEntryFile.h"

namespace quillbern {

namespace {

constexpr std::string_view kEntrySuffix = ".desktop";

std::string withoutSuffix(std::string id) {
    if (id.ends_with(kEntrySuffix)) id.resize(id.size() - kEntrySuffix.size());
    return id;
}

// The relative path of `path` below `dir`/applications/, if it lies there.
std::optional<std::string> belowApplications(const Path& path, const char* dir) {
    std::string prefix = std::string(dir) + "/applications/";
    if (!path.starts_with(prefix) || path.size() == prefix.size()) return std::nullopt;
    return path.substr(prefix.size());
}

// Calls `visit` with each registered entry and its id without ".desktop".
template <class Visit>
void forEachEntry(Visit visit) {
    GList* all = g_app_info_get_all();
    for (GList* node = all; node; node = node->next) {
        auto* info = G_DESKTOP_APP_INFO(node->data);
        if (const char* id = g_app_info_get_id(G_APP_INFO(info))) visit(info, withoutSuffix(id));
    }
    g_list_free_full(all, g_object_unref);
}

// The entry with its Name in the current locale: none when it has none or it is not UTF-8,
// where GIO would show "Unnamed".
ListedApp listedAppOf(GDesktopAppInfo* info, AppId appId, const char* filename) {
    ListedApp app{std::move(appId), std::nullopt, filename};
    if (gchar* name = g_desktop_app_info_get_locale_string(info, "Name")) {
        app.name = name;
        g_free(name);
    }
    return app;
}

}  // namespace

AppId desktopEntryId(const Path& entryPath) {
    std::optional<std::string> relative = belowApplications(entryPath, g_get_user_data_dir());
    for (const char* const* dir = g_get_system_data_dirs(); !relative && *dir; ++dir) {
        relative = belowApplications(entryPath, *dir);
    }
    if (relative) {
        std::ranges::replace(*relative, '/', '-');
        return withoutSuffix(std::move(*relative));
    }
    const auto slash = entryPath.rfind('/');
    return withoutSuffix(slash == Path::npos ? entryPath : entryPath.substr(slash + 1));
}

std::optional<InstalledApp> installedAppOf(GAppInfo* info) {
    if (!info || !G_IS_DESKTOP_APP_INFO(info)) return std::nullopt;
    const char* filename = g_desktop_app_info_get_filename(G_DESKTOP_APP_INFO(info));
    if (!filename) return std::nullopt;
    const char* id = g_app_info_get_id(info);
    const char* name = g_app_info_get_name(info);
    return InstalledApp{id ? withoutSuffix(id) : desktopEntryId(filename), name ? name : "", filename};
}

std::optional<InstalledApp> defaultAppForType(const char* contentType) {
    GAppInfo* handler = g_app_info_get_default_for_type(contentType, FALSE);
    std::optional<InstalledApp> app = installedAppOf(handler);
    if (handler) g_object_unref(handler);
    return app;
}

LinuxAppCatalog::LinuxAppCatalog() : monitor_(g_app_info_monitor_get()) {
    // GIO tells once per reading of the entries, so every reader re-arms it.
    g_signal_connect(monitor_, "changed", G_CALLBACK(+[](GAppInfoMonitor*, gpointer self) {
                         auto* catalog = static_cast<LinuxAppCatalog*>(self);
                         catalog->owner_.expectCurrent();
                         catalog->paths_.clear();
                         catalog->changed_.emit();
                     }),
                     this);
    const QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (dispatcher && !dispatcher->inherits("QEventDispatcherGlib")) {
        log("Qt does not run GLib's main loop (QT_NO_GLIB is set): applications installed while Quillbern runs are "
            "recognised after it restarts");
    }
}

LinuxAppCatalog::~LinuxAppCatalog() {
    g_signal_handlers_disconnect_by_data(monitor_, this);
    g_object_unref(monitor_);
}

Subscription LinuxAppCatalog::onEntriesChanged(Task task) {
    return changed_.connect(std::move(task));
}

std::optional<Path> LinuxAppCatalog::pathForAppId(std::string_view appId) const {
    owner_.expectCurrent();
    if (const auto known = paths_.find(appId); known != paths_.end()) return known->second;
    const std::string entryId = std::string(appId) + std::string(kEntrySuffix);
    const DesktopAppInfo info(g_desktop_app_info_new(entryId.c_str()));
    const char* filename = info ? g_desktop_app_info_get_filename(info.get()) : nullptr;
    const std::optional<Path> path = filename ? std::optional<Path>(filename) : std::nullopt;
    paths_.emplace(std::string(appId), path);
    return path;
}

std::optional<AppInfo> LinuxAppCatalog::appInfo(const Path& appPath) const {
    owner_.expectCurrent();
    if (!appPath.ends_with(kEntrySuffix)) return std::nullopt;
    const DesktopAppInfo info = desktopEntryAt(appPath);
    if (!info) return std::nullopt;
    AppInfo result;
    result.appId = desktopEntryId(appPath);
    // Name as the current locale shows it; the other names have no counterpart.
    if (const char* name = g_app_info_get_name(G_APP_INFO(info.get()))) result.localizedDisplayName = name;
    return result;
}

bool LinuxAppCatalog::isApplicationPath(const Path& path) const {
    const std::string name = lastPathComponent(path);
    return name.size() > kEntrySuffix.size() && name.ends_with(kEntrySuffix);
}

std::optional<AppId> LinuxAppCatalog::owningAppId(const RunningApp& app) const {
    return app.appId;
}

std::vector<ListedApp> LinuxAppCatalog::installedApps() const {
    std::vector<ListedApp> apps;
    forEachEntry([&](GDesktopAppInfo* info, AppId appId) {
        const char* filename = g_desktop_app_info_get_filename(info);
        // Showing follows NoDisplay, OnlyShowIn and NotShowIn for the current desktop.
        if (!filename || !g_app_info_should_show(G_APP_INFO(info)) || g_desktop_app_info_get_is_hidden(info)) return;
        apps.push_back(listedAppOf(info, std::move(appId), filename));
    });
    return apps;
}

std::optional<ListedApp> LinuxAppCatalog::fileManager() const {
    GAppInfo* handler = g_app_info_get_default_for_type("inode/directory", FALSE);
    std::optional<ListedApp> app;
    if (handler && G_IS_DESKTOP_APP_INFO(handler)) {
        auto* info = G_DESKTOP_APP_INFO(handler);
        const char* filename = g_desktop_app_info_get_filename(info);
        const char* id = g_app_info_get_id(handler);
        if (filename) app = listedAppOf(info, id ? withoutSuffix(id) : desktopEntryId(filename), filename);
    }
    if (handler) g_object_unref(handler);
    return app;
}

std::vector<DesktopEntryFacts> LinuxAppCatalog::entryFacts() {
    std::vector<DesktopEntryFacts> entries;
    forEachEntry([&](GDesktopAppInfo* info, AppId appId) {
        DesktopEntryFacts facts{std::move(appId), std::nullopt, {}};
        if (const char* wmClass = g_desktop_app_info_get_startup_wm_class(info)) facts.startupWmClass = wmClass;
        if (const char* program = g_app_info_get_executable(G_APP_INFO(info)); program && *program) {
            facts.programs.emplace_back(program);
        }
        if (gchar* tryExec = g_desktop_app_info_get_string(info, "TryExec")) {
            facts.programs.emplace_back(tryExec);
            g_free(tryExec);
        }
        facts.noDisplay = g_desktop_app_info_get_nodisplay(info) != FALSE;
        if (const char* filename = g_desktop_app_info_get_filename(info)) facts.path = filename;
        if (const char* name = g_app_info_get_name(G_APP_INFO(info))) facts.name = name;
        entries.push_back(std::move(facts));
    });
    return entries;
}

}  // namespace quillbern
