#include "linux/x11/X11RunningApps.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <fstream>
#include <string>

#include "linux/freedesktop/LinuxAppCatalog.h"
#include "linux/x11/AppMatching.h"
#include "linux/x11/X11ClientTable.h"
#include "linux/x11/X11Connection.h"
#include "linux/x11/X11Screens.h"
#include "linux/x11/X11WindowFacts.h"

namespace quillbern {

namespace {

// Main-thread reads wait at most this long for the server.
constexpr auto kReadLimit = std::chrono::seconds(2);

// A zombie has ended too: nobody may reap it where init does not.
bool isAlive(Pid pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return false;
    const auto nameEnd = line.rfind(')');
    return nameEnd != std::string::npos && nameEnd + 2 < line.size() && line[nameEnd + 2] != 'Z' &&
           line[nameEnd + 2] != 'X';
}

std::optional<std::string> baseName(const std::optional<std::string>& path) {
    if (!path) return std::nullopt;
    return path->substr(path->rfind('/') + 1);
}

}  // namespace

X11RunningApps::X11RunningApps(X11Connection& connection, const X11Screens& screens, const LinuxAppCatalog& catalog,
                               RunLoop& mainLoop)
    : connection_(connection),
      screens_(screens),
      catalog_(catalog),
      loop_(mainLoop),
      reader_(std::make_unique<X11ClientReader>(connection.connection())),
      ownPid_(getpid()),
      activeWindowAtom_(connection.atom("_NET_ACTIVE_WINDOW")),
      restackAtom_(connection.atom("_NET_RESTACK_WINDOW")) {
    connection_.selectRootEvents(XCB_EVENT_MASK_PROPERTY_CHANGE);
    const xcb_atom_t clientList = connection_.atom("_NET_CLIENT_LIST");
    const std::array<xcb_atom_t, 3> naming = {XCB_ATOM_WM_CLASS, connection_.atom("_GTK_APPLICATION_ID"),
                                              connection_.atom("_KDE_NET_WM_DESKTOP_FILE")};
    events_ = connection_.onEvent([this, clientList, naming](const xcb_generic_event_t& event) {
        if ((event.response_type & 0x7F) != XCB_PROPERTY_NOTIFY) return;
        const auto& property = reinterpret_cast<const xcb_property_notify_event_t&>(event);
        if (property.window == connection_.root()) {
            if (property.atom == clientList || property.atom == activeWindowAtom_) scheduleRefresh();
        } else if (std::ranges::find(naming, property.atom) != naming.end()) {
            // Some clients name their application only after the window maps.
            if (const auto owner = watched_.find(property.window); owner != watched_.end()) {
                renamed_.insert(owner->second);
                scheduleRefresh();
            }
        }
    });
    // What runs already is no launch: the first look only takes stock.
    if (const auto table = readTable()) {
        noteActiveWindow(recentlyActive_, *table);
        presence_ = presenceOf(*table, ownPid_);
        watchWindows(*table, presence_);
        std::vector<Pid> pids;
        for (const auto& [pid, policy] : presence_.pids)
            pids.push_back(pid);
        identify(pids, *table);
    }
}

X11RunningApps::~X11RunningApps() = default;

std::vector<RunningApp> X11RunningApps::runningApps() const {
    std::vector<RunningApp> apps;
    apps.reserve(apps_.size());
    for (const auto& [pid, app] : apps_)
        apps.push_back(app);
    return apps;
}

std::optional<RunningApp> X11RunningApps::app(Pid pid) const {
    const auto found = apps_.find(pid);
    return found == apps_.end() ? std::nullopt : std::optional(found->second);
}

std::optional<RunningApp> X11RunningApps::frontmostApp() const {
    return presence_.active ? app(*presence_.active) : std::nullopt;
}

bool X11RunningApps::activate(Pid pid) {
    if (!apps_.contains(pid)) return false;
    const auto table = readTable();
    if (!table) return false;
    const ClientFacts* window = bestWindow(*table, pid, recentlyActive_);
    if (!window) return false;
    bringForward(connection_.xcb(), connection_.root(), *window, activeWindowAtom_, restackAtom_);
    return true;
}

Subscription X11RunningApps::onLaunch(std::function<void(const RunningApp&)> callback) {
    return launched_.connect(std::move(callback));
}

Subscription X11RunningApps::onTerminate(std::function<void(const RunningApp&)> callback) {
    return terminated_.connect(std::move(callback));
}

Subscription X11RunningApps::onActivate(std::function<void(const RunningApp&)> callback) {
    return activated_.connect(std::move(callback));
}

Subscription X11RunningApps::onAppsChanged(Task callback) {
    return appsChanged_.connect(std::move(callback));
}

void X11RunningApps::noteLaunch(Pid pid, const Path& entry) {
    launches_.insert_or_assign(pid, Launch{entry, false});
    watchLaunched();
    scheduleRefresh();
}

std::optional<ClientTable> X11RunningApps::readTable() const {
    auto table = reader_->read(screens_.desktopSpace(), std::chrono::steady_clock::now() + kReadLimit);
    // The waits may have kept events for the connection's other readers.
    connection_.drainSoon();
    return table;
}

void X11RunningApps::scheduleRefresh() {
    // One look answers a burst of property changes.
    if (refreshPosted_) return;
    refreshPosted_ = true;
    loop_.post(lifetime_.guard([this] {
        refreshPosted_ = false;
        refresh();
    }));
}

void X11RunningApps::refresh() {
    const auto table = readTable();
    if (!table) return;
    noteActiveWindow(recentlyActive_, *table);
    AppPresence presence = presenceOf(*table, ownPid_);
    addLaunched(presence);
    const AppChanges changes = appChanges(presence_, presence);
    // Before the facts are read, so no renaming falls between the two.
    watchWindows(*table, presence);

    std::vector<RunningApp> gone;
    for (const Pid pid : changes.terminated) {
        if (const auto found = apps_.find(pid); found != apps_.end()) {
            gone.push_back(std::move(found->second));
            apps_.erase(found);
        }
    }
    identify(changes.launched, *table);
    const bool policyChanged = applyPolicies(apps_, presence);
    presence_ = std::move(presence);
    const bool renamed = identifyRenamed(*table);

    for (const RunningApp& app : gone)
        terminated_.emit(app);
    for (const Pid pid : changes.launched) {
        if (const auto found = app(pid)) launched_.emit(*found);
    }
    if (changes.activated) {
        if (const auto found = app(*changes.activated)) activated_.emit(*found);
    }
    if (!gone.empty() || !changes.launched.empty() || policyChanged || renamed) appsChanged_.emit();
}

void X11RunningApps::watchWindows(const ClientTable& table, const AppPresence& presence) {
    std::map<xcb_window_t, Pid> watched;
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    for (const ClientFacts& facts : table.frontToBack) {
        if (!facts.pid || !presence.pids.contains(*facts.pid)) continue;
        watched.emplace(facts.window, *facts.pid);
        if (!watched_.contains(facts.window)) {
            xcb_change_window_attributes(connection_.xcb(), facts.window, XCB_CW_EVENT_MASK, &mask);
        }
    }
    // Only listed windows: nothing is kept for windows that are gone.
    watched_ = std::move(watched);
    xcb_flush(connection_.xcb());
}

bool X11RunningApps::identifyRenamed(const ClientTable& table) {
    std::vector<Pid> pids;
    std::vector<RunningApp> before;
    for (const Pid pid : renamed_) {
        if (const auto found = apps_.find(pid); found != apps_.end()) {
            pids.push_back(pid);
            before.push_back(found->second);
        }
    }
    renamed_.clear();
    identify(pids, table);
    bool changed = false;
    for (const RunningApp& then : before) {
        RunningApp& now = apps_.at(then.pid);
        now.policy = then.policy;
        changed |= now.appId != then.appId || now.appPath != then.appPath || now.name != then.name;
    }
    return changed;
}

void X11RunningApps::addLaunched(AppPresence& presence) {
    for (auto it = launches_.begin(); it != launches_.end();) {
        auto& [pid, launch] = *it;
        if (presence.pids.contains(pid)) {
            launch.hadWindows = true;
        } else if (launch.hadWindows || !isAlive(pid)) {
            // Its windows are gone, or it ended before it showed one.
            it = launches_.erase(it);
            continue;
        } else {
            presence.pids.emplace(pid, ActivationPolicy::regular);
        }
        ++it;
    }
    watchLaunched();
}

void X11RunningApps::watchLaunched() {
    const bool waiting = std::ranges::any_of(launches_, [](const auto& launch) { return !launch.second.hadWindows; });
    if (!waiting) {
        launchedCheck_ = {};
    } else if (!launchedCheck_.isPending()) {
        // An exit without a window changes nothing on the X server.
        launchedCheck_ = loop_.every(kLaunchedCheck, lifetime_.guard([this] {
            for (const auto& [pid, launch] : launches_) {
                if (!launch.hadWindows && !isAlive(pid)) return scheduleRefresh();
            }
        }));
    }
}

void X11RunningApps::identify(const std::vector<Pid>& pids, const ClientTable& table) {
    if (pids.empty()) return;
    // Entries come and go with installs: each new process is matched against today's.
    AppMatcher matcher(catalog_.entryFacts());
    for (const auto& [pid, launch] : launches_)
        matcher.rememberLaunch(pid, desktopEntryId(launch.entry));
    std::vector<const ClientFacts*> windows;
    for (const ClientFacts& facts : table.frontToBack) {
        if (facts.pid && std::ranges::find(pids, *facts.pid) != pids.end()) windows.push_back(&facts);
    }
    const std::vector<WindowFacts> facts =
        readWindowFacts(connection_.connection(), windows, std::chrono::steady_clock::now() + kReadLimit);
    connection_.drainSoon();
    for (const Pid pid : pids) {
        std::vector<WindowFacts> own;
        for (const WindowFacts& window : facts) {
            if (window.pid == pid) own.push_back(window);
        }
        if (own.empty()) {
            WindowFacts windowless;
            windowless.pid = pid;
            windowless.executable = executableOf(pid);
            own.push_back(std::move(windowless));
        }
        apps_.insert_or_assign(pid, identified(pid, own, matcher));
    }
}

RunningApp X11RunningApps::identified(Pid pid, const std::vector<WindowFacts>& windows,
                                      const AppMatcher& matcher) const {
    RunningApp app;
    app.pid = pid;
    for (const WindowFacts& window : windows) {
        if (auto appId = matcher.match(window)) {
            app.appId = std::move(appId);
            break;
        }
    }
    if (app.appId) app.appPath = catalog_.pathForAppId(*app.appId);
    if (app.appPath) {
        if (const auto info = catalog_.appInfo(*app.appPath)) app.name = info->localizedDisplayName;
    }
    // Without an entry, the name the window system knows it by.
    if (!app.name)
        app.name = windows.front().wmClassClass ? windows.front().wmClassClass : baseName(windows.front().executable);
    return app;
}

}  // namespace quillbern
