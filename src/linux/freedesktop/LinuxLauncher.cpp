#include "linux/freedesktop/LinuxLauncher.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <algorithm>
#include <array>
#include <filesystem>
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <memory>

#include "core/foundation/Localization.h"
#include "core/foundation/Log.h"
#include "core/foundation/Paths.h"
#include "core/foundation/Utf8.h"
#include "linux/dbus/SessionBusAutolaunch.h"
#include "linux/freedesktop/DesktopEntryFile.h"
#include "linux/freedesktop/LinuxAppCatalog.h"
#include "linux/i18n/InterfaceLanguage.h"
#include "linux/process/ChildProcess.h"

namespace quillbern {

namespace {

struct ObjectDeleter {
    void operator()(gpointer object) const { g_object_unref(object); }
};
using LaunchContext = std::unique_ptr<GAppLaunchContext, ObjectDeleter>;

// What launched applications start with: our environment, but the desktop's languages
// rather than those chosen for Quillbern, and no session bus address set for Quillbern alone.
LaunchContext launchContext() {
    LaunchContext context(g_app_launch_context_new());
    if (const std::optional<std::string> languages = desktopLanguageList()) {
        g_app_launch_context_setenv(context.get(), "LANGUAGE", languages->c_str());
    } else {
        g_app_launch_context_unsetenv(context.get(), "LANGUAGE");
    }
    if (sessionBusAddressIsOurs()) g_app_launch_context_unsetenv(context.get(), "DBUS_SESSION_BUS_ADDRESS");
    return context;
}

Error errorFrom(GError* error, std::string fallback) {
    Error result{error ? error->message : std::move(fallback), "gio", error ? error->code : 0};
    if (error) g_error_free(error);
    return result;
}

// Holds each process a launch started, with the entry it started; empty where none is held.
using Holder = std::function<void(Pid, const Path&)>;

Result<void> launchEntry(const Path& appPath, GList* uris, const Holder& started);

// How long the file manager may take to answer before the folder opens instead.
constexpr int kFileManagerTimeoutMs = 2000;

struct GFree {
    void operator()(gpointer memory) const { g_free(memory); }
};
using GText = std::unique_ptr<gchar, GFree>;

// The item's type by shared-mime-info: from its name, and from its first bytes where the
// name says nothing. An item that cannot be read is typed by its name alone.
std::string contentType(const Path& path) {
    const std::unique_ptr<GFile, ObjectDeleter> file(g_file_new_for_path(path.c_str()));
    if (const std::unique_ptr<GFileInfo, ObjectDeleter> info(g_file_query_info(
            file.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE, G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
        info) {
        if (const char* type = g_file_info_get_content_type(info.get())) return type;
    }
    const GText guessed(g_content_type_guess(path.c_str(), nullptr, 0, nullptr));
    return guessed ? guessed.get() : "application/octet-stream";
}

GText uriOf(const Path& path) {
    return GText(g_filename_to_uri(path.c_str(), nullptr, nullptr));
}

std::optional<InstalledApp> defaultApp(const Path& path) {
    return defaultAppForType(contentType(path).c_str());
}

// Never GIO's own "launch the default for this URI", which runs a desktop entry: the item
// always goes to an application, whatever it is.
bool openWithDefault(const Path& path, const Holder& started) {
    const std::optional<InstalledApp> app = defaultApp(path);
    if (!app) return false;
    const GText uri = uriOf(path);
    if (!uri) return false;
    GList uris{uri.get(), nullptr, nullptr};
    if (const auto opened = launchEntry(app->path, &uris, started); !opened) {
        log("opening a file with ", escapedForLog(app->appId), " failed — ", escapedForLog(opened.error().message));
        return false;
    }
    return true;
}

// One request to show an item in the file manager, alive until its answer.
struct RevealRequest {
    std::vector<Path> paths;
    Holder started;

    static void busReady(GObject*, GAsyncResult* result, gpointer data) {
        auto* request = static_cast<RevealRequest*>(data);
        GDBusConnection* bus = g_bus_get_finish(result, nullptr);
        std::vector<GText> texts;
        std::vector<const gchar*> uris;
        for (const Path& path : request->paths) {
            if (GText uri = uriOf(path)) uris.push_back(texts.emplace_back(std::move(uri)).get());
        }
        if (!bus || uris.empty()) {
            if (bus) g_object_unref(bus);
            request->finish(false);
            return;
        }
        uris.push_back(nullptr);
        // A session bus that goes away must not take the program with it.
        g_dbus_connection_set_exit_on_close(bus, FALSE);
        // Without auto-start: a name nobody owns answers at once, and the folder opens instead.
        g_dbus_connection_call(bus, "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                               "org.freedesktop.FileManager1", "ShowItems", g_variant_new("(^ass)", uris.data(), ""),
                               nullptr, G_DBUS_CALL_FLAGS_NO_AUTO_START, kFileManagerTimeoutMs, nullptr,
                               &RevealRequest::answered, request);
        g_object_unref(bus);
    }
    static void answered(GObject* bus, GAsyncResult* result, gpointer data) {
        GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, nullptr);
        if (reply) g_variant_unref(reply);
        static_cast<RevealRequest*>(data)->finish(reply != nullptr);
    }
    void finish(bool shown) {
        if (!shown) {
            const Path folder = parentPath(paths.front());
            if (!openWithDefault(folder, started))
                log("no application shows the folder ", escapedForLog(replacingInvalidUtf8(folder)));
        }
        delete this;
    }
};

// Launches the entry with the URIs (none: just the application).
Result<void> launchEntry(const Path& appPath, GList* uris, const Holder& started) {
    const DesktopAppInfo info = desktopEntryAt(appPath);
    if (!info) return Error{"not an application: " + appPath, "gio", 0};
    GError* error = nullptr;
    std::vector<Pid> children;
    // Each process stays our child, unreaped, until held by its pidfd, so its id names no
    // other process meanwhile. Unheld, GLib starts it through a child that ends at once, and
    // the process belongs to nobody here.
    const auto note = +[](GDesktopAppInfo*, GPid pid, gpointer children) {
        static_cast<std::vector<Pid>*>(children)->push_back(Pid(pid));
    };
    const auto flags = GSpawnFlags(G_SPAWN_SEARCH_PATH | (started ? G_SPAWN_DO_NOT_REAP_CHILD : 0));
    const bool launched = g_desktop_app_info_launch_uris_as_manager(
        info.get(), uris, launchContext().get(), flags, nullptr, nullptr, started ? note : nullptr, &children, &error);
    for (const Pid child : children)
        started(child, appPath);
    if (!launched) return errorFrom(error, "launch failed");
    return {};
}

// Installed by the desktop: in an applications folder of the XDG data folders.
bool isInstalledEntry(const Path& entry) {
    const std::string path = std::filesystem::path(entry).lexically_normal().string();
    const auto below = [&path](const char* data) { return path.starts_with(normalizedPath(data) + "/applications/"); };
    if (below(g_get_user_data_dir())) return true;
    for (const char* const* data = g_get_system_data_dirs(); *data; ++data) {
        if (below(*data)) return true;
    }
    return false;
}

// Each desktop's own page of startup applications, by the name it gives itself in
// XDG_CURRENT_DESKTOP; every one of them lists the XDG autostart entries.
struct StartupPage {
    const char* desktop;
    const char* entry;
};
constexpr std::array kStartupPages{
    StartupPage{"KDE", "kcm_autostart.desktop"},
    StartupPage{"XFCE", "xfce-session-settings.desktop"},
    StartupPage{"MATE", "mate-session-properties.desktop"},
    StartupPage{"LXQt", "lxqt-config-session.desktop"},
    StartupPage{"GNOME", "gnome-session-properties.desktop"},
    StartupPage{"Unity", "gnome-session-properties.desktop"},
};

// The installed entry of the running desktop's startup applications, if it has one.
std::optional<Path> startupApplicationsEntry() {
    const char* current = g_getenv("XDG_CURRENT_DESKTOP");
    if (!current) return std::nullopt;
    const std::unique_ptr<gchar*, decltype(&g_strfreev)> desktops(g_strsplit(current, ":", -1), &g_strfreev);
    for (gchar** desktop = desktops.get(); *desktop; ++desktop) {
        for (const StartupPage& page : kStartupPages) {
            if (g_ascii_strcasecmp(*desktop, page.desktop) != 0) continue;
            const DesktopAppInfo info(g_desktop_app_info_new(page.entry));
            if (const char* file = info ? g_desktop_app_info_get_filename(info.get()) : nullptr) return Path(file);
        }
    }
    return std::nullopt;
}

}  // namespace

Result<void> LinuxLauncher::checkTrusted(const Path& entry) {
    if (isInstalledEntry(entry) || ::access(entry.c_str(), X_OK) == 0) return {};
    const DesktopAppInfo info = desktopEntryAt(entry);
    const char* name = info ? g_app_info_get_name(G_APP_INFO(info.get())) : nullptr;
    AlertSpec alert;
    alert.style = AlertSpec::Style::warning;
    alert.floating = true;
    alert.message =
        trf("“%@” was not opened", name ? std::string(name) : replacingInvalidUtf8(lastPathComponent(entry)));
    alert.informative = trf(
        // TRANSLATORS: %@ is the path of the desktop entry; Properties and Permissions are what
        // file managers call them.
        "Its entry lies outside the application folders and is not marked as executable, so it could start any "
        "program. If you trust it, mark it executable in your file manager (Properties, Permissions), then open it "
        "again.\n\n%@",
        replacingInvalidUtf8(entry));
    alert.buttons = {tr("Show in File Manager"), tr("OK")};
    // Told once the click that asked is over.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [this, alert, entry] {
            if (alerts_.runModal(alert) == 0) reveal({entry});
        },
        Qt::QueuedConnection);
    const std::string why = "the entry lies outside the application folders and is not marked as executable";
    log("not launched: ", escapedForLog(entry), ": ", why);
    return Error{why, "quillbern", 0};
}

LinuxLauncher::LinuxLauncher(RunningApps& apps, Alerts& alerts, Started started) : apps_(apps), alerts_(alerts) {
    if (!started) return;
    started_ = [started = std::move(started)](Pid pid, const Path& entry) {
        if (std::shared_ptr<ChildProcess> child = ChildProcess::hold(pid, ChildProcess::StartedHere{}))
            started(std::move(child), entry);
    };
}

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
    if (Result<void> trusted = checkTrusted(appPath); !trusted) {
        done(std::move(trusted));
        return;
    }
    done(launchEntry(appPath, nullptr, started_));
}

void LinuxLauncher::openWith(const std::vector<Path>& files, const Path& appPath) {
    if (!checkTrusted(appPath)) return;
    GList* uris = nullptr;
    for (const Path& file : files) {
        if (gchar* uri = g_filename_to_uri(file.c_str(), nullptr, nullptr)) uris = g_list_append(uris, uri);
    }
    if (const auto opened = launchEntry(appPath, uris, started_); !opened) {
        log("opening files failed — ", escapedForLog(opened.error().message));
    }
    g_list_free_full(uris, g_free);
}

bool LinuxLauncher::openSystemSettings(SystemSettingsPage page) {
    if (page != SystemSettingsPage::loginItems) return false;
    const std::optional<Path> entry = startupApplicationsEntry();
    if (!entry) return false;
    if (const auto opened = launchEntry(*entry, nullptr, started_); !opened) {
        log("the desktop's startup applications did not open — ", escapedForLog(opened.error().message));
        return false;
    }
    return true;
}

bool LinuxLauncher::canOpenSystemSettings(SystemSettingsPage page) const {
    return page == SystemSettingsPage::loginItems && startupApplicationsEntry();
}

std::optional<InstalledApp> LinuxLauncher::defaultAppFor(const Path& path) const {
    return defaultApp(path);
}

std::vector<InstalledApp> LinuxLauncher::appsFor(const Path& path) const {
    std::vector<InstalledApp> apps;
    const std::string type = contentType(path);
    // Those of the type itself, then those of the types it belongs to: a script is text too.
    for (GList* list : {g_app_info_get_all_for_type(type.c_str()), g_app_info_get_fallback_for_type(type.c_str())}) {
        for (GList* node = list; node; node = node->next) {
            std::optional<InstalledApp> app = installedAppOf(G_APP_INFO(node->data));
            if (app && std::ranges::find(apps, app->appId, &InstalledApp::appId) == apps.end())
                apps.push_back(std::move(*app));
        }
        g_list_free_full(list, g_object_unref);
    }
    return apps;
}

bool LinuxLauncher::open(const Path& path) {
    return openWithDefault(path, started_);
}

bool LinuxLauncher::openUrl(std::string_view url) {
    GError* error = nullptr;
    if (g_app_info_launch_default_for_uri(std::string(url).c_str(), launchContext().get(), &error)) return true;
    log("opening ", escapedForLog(url), " failed — ", escapedForLog(errorFrom(error, "no application").message));
    return false;
}

void LinuxLauncher::reveal(const std::vector<Path>& paths) {
    if (paths.empty()) return;
    // Asked without waiting: the answer comes on the main loop, a refusal or no answer
    // within the limit opening the folder instead.
    auto* request = new RevealRequest{paths, started_};
    g_bus_get(G_BUS_TYPE_SESSION, nullptr, &RevealRequest::busReady, request);
}

}  // namespace quillbern
