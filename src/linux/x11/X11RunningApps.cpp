#include "linux/x11/X11RunningApps.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <optional>
#include <set>
#include <string>

#include "core/foundation/Log.h"
#include "core/platform/WorkerStop.h"
#include "linux/freedesktop/LinuxAppCatalog.h"
#include "linux/process/ChildProcess.h"
#include "linux/x11/AppMatching.h"
#include "linux/x11/X11ClientTable.h"
#include "linux/x11/X11Connection.h"
#include "linux/x11/X11HiddenApps.h"
#include "linux/x11/X11Screens.h"
#include "linux/x11/X11WindowFacts.h"
#include "linux/x11/X11WindowIcons.h"
#include "linux/x11/XcbConnection.h"

namespace quillbern {

namespace {

// The worker's reads wait at most this long for the server.
constexpr auto kReadLimit = std::chrono::seconds(2);
constexpr Duration kStartLimit = 2.0;

// Every process of one application shows the same picture.
std::string pictureName(const RunningApp& app) {
    return app.appId.value_or(app.name.value_or(""));
}

// Minimises each window of the process in the table; the windows it minimised.
std::vector<xcb_window_t> hideWindows(xcb_connection_t* c, xcb_window_t root, const ClientTable& table, Pid pid,
                                      xcb_atom_t changeState) {
    std::vector<xcb_window_t> minimised;
    for (const ClientFacts& window : table.frontToBack) {
        if (window.pid == pid && !window.isDockOrDesktop && !window.minimized) {
            minimize(c, root, window, changeState);
            minimised.push_back(window.window);
        }
    }
    xcb_flush(c);
    return minimised;
}

// Asks each window of the process in the table to close; whether it showed any.
bool closeWindows(xcb_connection_t* c, xcb_window_t root, const ClientTable& table, Pid pid, xcb_atom_t closeWindow) {
    bool asked = false;
    for (const ClientFacts& window : table.frontToBack) {
        if (window.pid != pid || window.isDockOrDesktop) continue;
        requestClose(c, root, window, closeWindow);
        asked = true;
    }
    xcb_flush(c);
    return asked;
}

std::optional<std::string> baseName(const std::optional<std::string>& path) {
    if (!path) return std::nullopt;
    return path->substr(path->rfind('/') + 1);
}

}  // namespace

// Everything of the worker: its connection, what the last look saw, the launches and the
// desktop entries, a copy of its own, so nothing of the catalogue is shared with the main
// thread. Touched only on the worker once started (before, by the constructor); debug
// builds stop at a call off the worker's loop.
class X11RunningApps::Tracker : public std::enable_shared_from_this<Tracker> {
public:
    Tracker(const X11Screens& screens, X11HiddenApps& hidden)
        : screens_(screens), hidden_(hidden), connection_(XcbConnection::open()), ownPid_(getpid()) {
        if (!connection_) return;
        reader_ = std::make_unique<X11ClientReader>(*connection_);
        staleClients_.emplace(*connection_);
        clientListAtom_ = connection_->atom("_NET_CLIENT_LIST");
        activeAtom_ = connection_->atom("_NET_ACTIVE_WINDOW");
        states_ = {connection_->atom("WM_STATE"), connection_->atom("_NET_WM_STATE")};
        naming_ = {XCB_ATOM_WM_CLASS, connection_->atom("_GTK_APPLICATION_ID"),
                   connection_->atom("_KDE_NET_WM_DESKTOP_FILE")};
        const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(connection_->xcb(), connection_->root(), XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection_->xcb());
    }

    // What runs already is no launch: the first look only takes stock.
    std::optional<Look> firstLook() {
        const DesktopSpace space = screens_.desktopSpace();
        const auto table = readTable(space);
        if (!table) return std::nullopt;
        keepReading(*table, space);
        noteActiveWindow(recentlyActive_, *table);
        presence_ = presenceOf(*table, ownPid_);
        watchWindows(*table, presence_);
        std::vector<Pid> pids;
        for (const auto& [pid, policy] : presence_.pids)
            pids.push_back(pid);
        Look look{*table, recentlyActive_, presence_, {}, identify(pids, *table), {}, false, {}};
        look.pictures = readPictures(*table, look.identified);
        return look;
    }

    void start(WorkerLoop& loop, std::function<void(Look)> deliver) {
        if (!connection_) return;
        loop_ = &loop;
        expectOnLoop(loop_);
        deliver_ = std::move(deliver);
        readable_ = loop.addReadable(connection_->fd(), guarded([](Tracker& tracker) { tracker.pump(); }), [] {
            log("the running applications' connection to the X server broke: applications are no longer followed");
        });
        // Whatever changed since the first look.
        look();
    }

    void stop() {
        expectOnLoop(loop_);
        readable_.reset();
        // What still runs is reaped aside when it ends.
        children_.clear();
        loop_ = nullptr;
    }

    void noteLaunch(std::shared_ptr<ChildProcess> child, Path entry) {
        expectOnLoop(loop_);
        // Without a connection nothing is followed; what was started is reaped aside.
        if (!loop_) return;
        const Pid pid = child->pid();
        launches_.insert_or_assign(pid, Launch{std::move(entry), false});
        // Its end is seen on its pidfd, as an exit without a window changes nothing on the X
        // server, and it is reaped then.
        Subscription ended =
            loop_->addReadable(child->descriptor(), guarded([pid](Tracker& tracker) { tracker.reap(pid); }));
        children_.insert_or_assign(pid, Child{std::move(child), std::move(ended)});
        // One that showed a window before this came is identified again, as started here.
        if (presence_.pids.contains(pid)) renamed_.insert(pid);
        look();
    }

    // A process we started whose pidfd turned readable has ended: reaped, and looked at.
    void reap(Pid pid) {
        const auto held = children_.find(pid);
        if (held == children_.end() || !held->second.process->reapIfEnded()) return;
        children_.erase(held);
        look();
    }

    // Read again now, which also has GIO tell of the next change: it tells once per reading.
    // The running processes are identified again, as the entry installed may be theirs.
    void entriesChanged() {
        expectOnLoop(loop_);
        if (!loop_) return;
        entries_ = LinuxAppCatalog::entryFacts();
        for (const auto& [pid, policy] : presence_.pids)
            renamed_.insert(pid);
        if (!presence_.pids.empty()) look();
    }

    // On a table read now, so a window that opened since the last look counts too. The
    // windows minimised are remembered, as the application's, until it shows them again or
    // the process ends.
    void hide(Pid pid, const std::string& application) {
        expectOnLoop(loop_);
        const auto table = readTable();
        if (!table) return;
        hidden_.remember(
            pid, application,
            hideWindows(connection_->xcb(), connection_->root(), *table, pid, connection_->atom("WM_CHANGE_STATE")));
    }
    void unhide(Pid pid) {
        expectOnLoop(loop_);
        const std::vector<HiddenWindow> remembered = hidden_.take(pid);
        if (const auto table = readTable())
            showWindows(connection_->xcb(), connection_->root(), *table, pid, remembered, activeAtom_,
                        connection_->atom("_NET_RESTACK_WINDOW"));
    }
    // A process that shows no window has nothing to close, so it is asked to end: only a
    // process we started, through its pidfd, while it runs.
    void quit(Pid pid) {
        expectOnLoop(loop_);
        const auto table = readTable();
        if (!table || closeWindows(connection_->xcb(), connection_->root(), *table, pid,
                                   connection_->atom("_NET_CLOSE_WINDOW"))) {
            return;
        }
        if (const auto child = children_.find(pid); child != children_.end()) child->second.process->signal(SIGTERM);
    }

private:
    struct Launch {
        Path entry;
        bool hadWindows = false;
    };
    // A process we started, until it ends.
    struct Child {
        std::shared_ptr<ChildProcess> process;
        Subscription ended;
    };

    template <class Step>
    Task guarded(Step step) {
        return [weak = weak_from_this(), step] {
            if (auto tracker = weak.lock()) {
                expectOnLoop(tracker->loop_);
                step(*tracker);
            }
        };
    }

    // The table, read anew but for the windows `known` vouches for. The windows read are
    // followed from then on: the looks need their properties only, so they ask for no other
    // reports.
    std::optional<ClientTable> readTable(const DesktopSpace& space, std::optional<KnownClients> known = std::nullopt) {
        if (!reader_ || connection_->isBroken()) return std::nullopt;
        return reader_->read(space, std::chrono::steady_clock::now() + kReadLimit, known,
                             XCB_EVENT_MASK_PROPERTY_CHANGE);
    }
    std::optional<ClientTable> readTable() { return readTable(screens_.desktopSpace()); }

    // The table the next look starts from.
    void keepReading(const ClientTable& table, const DesktopSpace& space) {
        last_ = table;
        staleClients_->read(space);
    }

    void pump() {
        // One look answers a burst of changes.
        if (takeReports()) look();
    }

    // Notes what the reports say changed; whether a look should follow.
    bool takeReports() {
        const auto reports = connection_->takeEvents();
        staleClients_->note(reports);
        bool relevant = false;
        for (const auto& event : reports) {
            if ((event->response_type & 0x7F) != XCB_PROPERTY_NOTIFY) continue;
            const auto& property = reinterpret_cast<const xcb_property_notify_event_t&>(*event);
            if (property.window == connection_->root()) {
                relevant |= property.atom == clientListAtom_ || property.atom == activeAtom_;
            } else if (std::ranges::find(states_, property.atom) != states_.end()) {
                // Minimised or restored: whether its application is hidden may change.
                relevant |= watched_.contains(property.window);
            } else if (std::ranges::find(naming_, property.atom) != naming_.end()) {
                // Some clients name their application only after the window maps.
                if (const auto owner = watched_.find(property.window); owner != watched_.end()) {
                    renamed_.insert(owner->second);
                    relevant = true;
                }
            }
        }
        return relevant;
    }

    // Reads again only the windows reported changed since the last look: under a churn of
    // many windows, a look at every change would otherwise ask the server about them all.
    void look() {
        if (!loop_) return;
        takeReports();
        const DesktopSpace space = screens_.desktopSpace();
        if (auto table = readTable(space, staleClients_->since(last_, space))) {
            keepReading(*table, space);
            lookAt(*table);
        }
        // The reads may have read events that leave the socket quiet: they are looked at next.
        if (connection_->keepArrivedEvents()) loop_->post(guarded([](Tracker& tracker) { tracker.pump(); }));
    }

    void lookAt(const ClientTable& table) {
        noteActiveWindow(recentlyActive_, table);
        AppPresence presence = presenceOf(table, ownPid_);
        const bool firstWindows = addLaunched(presence);
        AppChanges changes = appChanges(presence_, presence);
        presence_ = presence;
        // Before the facts are read, so a renaming reported after them is looked at.
        watchWindows(table, presence);
        std::vector<RunningApp> identified = identify(changes.launched, table);
        std::vector<Pid> renamed;
        for (const Pid pid : renamed_) {
            if (presence.pids.contains(pid) && std::ranges::find(changes.launched, pid) == changes.launched.end())
                renamed.push_back(pid);
        }
        renamed_.clear();
        std::vector<RunningApp> reidentified = identify(renamed, table);
        for (const Pid pid : changes.terminated) {
            names_.erase(pid);
            hidden_.forget(pid);
        }
        std::map<std::string, std::vector<PixelBuffer>> pictures = readPictures(table, identified);
        deliver_(Look{table, recentlyActive_, std::move(presence), std::move(changes), std::move(identified),
                      std::move(reidentified), firstWindows, std::move(pictures)});
    }

    // The applications' windows, whose states and naming properties ask for a look.
    void watchWindows(const ClientTable& table, const AppPresence& presence) {
        watched_.clear();
        for (const ClientFacts& facts : table.frontToBack) {
            if (facts.pid && presence.pids.contains(*facts.pid)) watched_.emplace(facts.window, *facts.pid);
        }
    }

    // Adds the launched processes that run without a window yet; forgets the others.
    // Whether one of them shows its first window now, which may bring its picture.
    bool addLaunched(AppPresence& presence) {
        bool firstWindows = false;
        for (auto it = launches_.begin(); it != launches_.end();) {
            auto& [pid, launch] = *it;
            if (presence.pids.contains(pid)) {
                firstWindows |= !launch.hadWindows;
                launch.hadWindows = true;
            } else if (launch.hadWindows || !children_.contains(pid)) {
                // Its windows are gone, or it ended before it showed one.
                it = launches_.erase(it);
                continue;
            } else {
                presence.pids.emplace(pid, ActivationPolicy::regular);
            }
            ++it;
        }
        return firstWindows;
    }

    // The pictures of the applications whose name has none read yet, read from the main
    // window of one of its processes; a name whose processes show no window yet is read
    // once one does. Names that no longer run are forgotten.
    std::map<std::string, std::vector<PixelBuffer>> readPictures(const ClientTable& table,
                                                                 const std::vector<RunningApp>& identified) {
        for (const RunningApp& app : identified)
            names_.insert_or_assign(app.pid, pictureName(app));
        std::set<std::string> running;
        for (const auto& [pid, name] : names_)
            running.insert(name);
        std::erase_if(picturesRead_, [&running](const std::string& name) { return !running.contains(name); });
        std::map<std::string, std::vector<PixelBuffer>> pictures;
        for (const auto& [pid, name] : names_) {
            if (picturesRead_.contains(name)) continue;
            const ClientFacts* window = table.mainWindowOf(pid);
            if (!window) continue;
            picturesRead_.insert(name);
            pictures.insert_or_assign(
                name, readWindowIcon(*connection_, window->window, std::chrono::steady_clock::now() + kReadLimit));
        }
        return pictures;
    }

    const std::vector<DesktopEntryFacts>& entries() {
        if (!entries_) entries_ = LinuxAppCatalog::entryFacts();
        return *entries_;
    }

    std::vector<RunningApp> identify(const std::vector<Pid>& pids, const ClientTable& table) {
        if (pids.empty()) return {};
        AppMatcher matcher(entries());
        for (const auto& [pid, launch] : launches_)
            matcher.rememberLaunch(pid, desktopEntryId(launch.entry));
        std::vector<const ClientFacts*> windows;
        for (const ClientFacts& facts : table.frontToBack) {
            if (facts.pid && std::ranges::find(pids, *facts.pid) != pids.end()) windows.push_back(&facts);
        }
        const std::vector<WindowFacts> facts =
            readWindowFacts(*connection_, windows, std::chrono::steady_clock::now() + kReadLimit);
        std::vector<RunningApp> apps;
        for (const Pid pid : pids) {
            std::vector<WindowFacts> own;
            for (const WindowFacts& window : facts) {
                if (window.pid == pid) own.push_back(window);
            }
            std::optional<AppId> appId;
            for (const WindowFacts& window : own) {
                if ((appId = matcher.match(window))) break;
            }
            if (own.empty()) {
                WindowFacts windowless;
                windowless.pid = pid;
                if (const std::optional<ProcessFacts> process = readProcessFacts(pid)) {
                    windowless.executable = process->executable;
                    appId = matcher.matchWindowless(*process, [](Pid other) { return readProcessFacts(other); });
                }
                own.push_back(std::move(windowless));
            }
            apps.push_back(identified(pid, own, std::move(appId)));
        }
        return apps;
    }

    // Named by its entry, else by what the window system knows it by.
    RunningApp identified(Pid pid, const std::vector<WindowFacts>& windows, std::optional<AppId> appId) {
        RunningApp app;
        app.pid = pid;
        app.appId = std::move(appId);
        app.startedHere = children_.contains(pid);
        if (app.appId) {
            const auto entry = std::ranges::find(entries(), *app.appId, &DesktopEntryFacts::id);
            if (entry != entries().end() && entry->path) {
                app.appPath = entry->path;
                app.name = entry->name;
            }
        }
        // Without an entry, the name the window system knows it by.
        if (!app.name)
            app.name =
                windows.front().wmClassClass ? windows.front().wmClassClass : baseName(windows.front().executable);
        app.windowClass = windows.front().wmClassClass;
        return app;
    }

    const X11Screens& screens_;
    X11HiddenApps& hidden_;
    std::unique_ptr<XcbConnection> connection_;
    std::unique_ptr<X11ClientReader> reader_;
    std::optional<StaleClients> staleClients_;
    // The last table read, and what was reported changed since.
    ClientTable last_;
    Pid ownPid_;
    xcb_atom_t clientListAtom_ = XCB_ATOM_NONE;
    xcb_atom_t activeAtom_ = XCB_ATOM_NONE;
    std::array<xcb_atom_t, 3> naming_{};
    std::array<xcb_atom_t, 2> states_{};
    AppPresence presence_;
    std::map<xcb_window_t, Pid> watched_;
    std::set<Pid> renamed_;
    std::vector<std::uint32_t> recentlyActive_;
    std::map<Pid, Launch> launches_;
    // The only processes Quit signals: those we started, held from the moment they existed
    // until they end. What the X server, a window or /proc names is never signalled.
    std::map<Pid, Child> children_;
    std::optional<std::vector<DesktopEntryFacts>> entries_;
    // The picture name of every identified process, and the names whose picture was read.
    std::map<Pid, std::string> names_;
    std::set<std::string> picturesRead_;
    WorkerLoop* loop_ = nullptr;
    std::function<void(Look)> deliver_;
    Subscription readable_;
};

X11RunningApps::X11RunningApps(X11Connection& connection, const X11Screens& screens, LinuxAppCatalog& catalog,
                               X11HiddenApps& hidden, RunLoop& mainLoop, Threads& threads)
    : connection_(connection),
      hidden_(hidden),
      loop_(mainLoop),
      threads_(threads),
      activeWindowAtom_(connection.atom("_NET_ACTIVE_WINDOW")),
      restackAtom_(connection.atom("_NET_RESTACK_WINDOW")),
      changeStateAtom_(connection.atom("WM_CHANGE_STATE")),
      closeWindowAtom_(connection.atom("_NET_CLOSE_WINDOW")),
      tracker_(std::make_shared<Tracker>(screens, hidden)) {
    if (auto stock = tracker_->firstLook()) {
        for (RunningApp& app : stock->identified)
            apps_.insert_or_assign(app.pid, std::move(app));
        applyPolicies(apps_, stock->presence);
        presence_ = std::move(stock->presence);
        table_ = std::move(stock->table);
        recentlyActive_ = std::move(stock->recentlyActive);
        keepPictures(std::move(stock->pictures));
        markHidden();
    }
    worker_ = threads.startWorker(kThreadName, kStartLimit);
    if (!worker_) {
        log("the running applications' thread did not start; applications are known as they were at the start");
        return;
    }
    worker_->post([tracker = tracker_, loop = worker_.get(),
                   deliver = onLoop(loop_, lifetime_.token(), [this](const Look& look) { apply(look); })] {
        tracker->start(*loop, deliver);
    });
    catalogChanges_ = catalog.onEntriesChanged([this] {
        worker_->post([weak = std::weak_ptr<Tracker>(tracker_)] {
            if (auto tracker = weak.lock()) tracker->entriesChanged();
        });
    });
}

X11RunningApps::~X11RunningApps() {
    stop();
}

void X11RunningApps::stop() {
    expectOnLoop(loop_);
    catalogChanges_.reset();
    if (!worker_) return;
    // What the tracker holds of the worker's loop goes before the loop.
    worker_->post([tracker = tracker_] { tracker->stop(); });
    stopWorker(std::move(worker_), threads_, kThreadName);
}

std::vector<RunningApp> X11RunningApps::runningApps() const {
    expectOnLoop(loop_);
    std::vector<RunningApp> apps;
    apps.reserve(apps_.size());
    for (const auto& [pid, app] : apps_)
        apps.push_back(app);
    return apps;
}

std::optional<RunningApp> X11RunningApps::app(Pid pid) const {
    expectOnLoop(loop_);
    const auto found = apps_.find(pid);
    return found == apps_.end() ? std::nullopt : std::optional(found->second);
}

std::optional<RunningApp> X11RunningApps::frontmostApp() const {
    expectOnLoop(loop_);
    return presence_.active ? app(*presence_.active) : std::nullopt;
}

bool X11RunningApps::activate(Pid pid) {
    expectOnLoop(loop_);
    if (!apps_.contains(pid)) return false;
    // A hidden application comes back whole.
    if (!hidden_.windows(pid).empty()) return unhide(pid);
    const ClientFacts* window = bestWindow(table_, pid, recentlyActive_);
    if (!window) return false;
    bringForward(connection_.xcb(), connection_.root(), *window, activeWindowAtom_, restackAtom_);
    xcb_flush(connection_.xcb());
    return true;
}

bool X11RunningApps::hide(Pid pid) {
    expectOnLoop(loop_);
    if (!apps_.contains(pid)) return false;
    if (!worker_) {
        hideWindows(connection_.xcb(), connection_.root(), table_, pid, changeStateAtom_);
    } else {
        worker_->post([weak = std::weak_ptr<Tracker>(tracker_), pid, application = applicationKey(apps_.at(pid))] {
            if (auto tracker = weak.lock()) tracker->hide(pid, application);
        });
    }
    return true;
}

bool X11RunningApps::unhide(Pid pid) {
    expectOnLoop(loop_);
    if (!apps_.contains(pid)) return false;
    if (!worker_) {
        showWindows(connection_.xcb(), connection_.root(), table_, pid, {}, activeWindowAtom_, restackAtom_);
    } else {
        worker_->post([weak = std::weak_ptr<Tracker>(tracker_), pid] {
            if (auto tracker = weak.lock()) tracker->unhide(pid);
        });
    }
    return true;
}

bool X11RunningApps::quit(Pid pid) {
    expectOnLoop(loop_);
    if (!apps_.contains(pid) || pid == getpid()) return false;
    if (!worker_) {
        closeWindows(connection_.xcb(), connection_.root(), table_, pid, closeWindowAtom_);
    } else {
        worker_->post([weak = std::weak_ptr<Tracker>(tracker_), pid] {
            if (auto tracker = weak.lock()) tracker->quit(pid);
        });
    }
    return true;
}

std::vector<PixelBuffer> X11RunningApps::windowPictures(Pid pid) const {
    expectOnLoop(loop_);
    const auto app = apps_.find(pid);
    if (app == apps_.end()) return {};
    const auto kept = pictures_.find(pictureName(app->second));
    return kept == pictures_.end() ? std::vector<PixelBuffer>{} : kept->second;
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

void X11RunningApps::noteLaunch(std::shared_ptr<ChildProcess> child, const Path& entry) {
    expectOnLoop(loop_);
    if (!worker_) return;
    worker_->post([weak = std::weak_ptr<Tracker>(tracker_), child = std::move(child), entry] {
        if (auto tracker = weak.lock()) tracker->noteLaunch(child, entry);
    });
}

void X11RunningApps::apply(Look look) {
    expectOnLoop(loop_);
    std::vector<RunningApp> gone;
    for (const Pid pid : look.changes.terminated) {
        if (const auto found = apps_.find(pid); found != apps_.end()) {
            gone.push_back(std::move(found->second));
            apps_.erase(found);
        }
    }
    for (RunningApp& app : look.identified)
        apps_.insert_or_assign(app.pid, std::move(app));
    bool renamed = false;
    for (RunningApp& now : look.reidentified) {
        const auto then = apps_.find(now.pid);
        if (then == apps_.end()) continue;
        now.policy = then->second.policy;
        renamed |= now.appId != then->second.appId || now.appPath != then->second.appPath ||
                   now.name != then->second.name || now.windowClass != then->second.windowClass;
        then->second = std::move(now);
    }
    const bool policyChanged = applyPolicies(apps_, look.presence);
    presence_ = std::move(look.presence);
    table_ = std::move(look.table);
    recentlyActive_ = std::move(look.recentlyActive);
    const bool newPictures = keepPictures(std::move(look.pictures));

    const AppChanges& changes = look.changes;
    markHidden();
    for (const RunningApp& app : gone)
        terminated_.emit(app);
    for (const Pid pid : changes.launched) {
        if (const auto found = app(pid)) launched_.emit(*found);
    }
    if (changes.activated) {
        if (const auto found = app(*changes.activated)) activated_.emit(*found);
    }
    if (!gone.empty() || !changes.launched.empty() || policyChanged || renamed || look.firstWindows || newPictures)
        appsChanged_.emit();
}

void X11RunningApps::markHidden() {
    for (auto& [pid, app] : apps_) {
        bool any = false;
        bool allMinimised = true;
        for (const ClientFacts& window : table_.frontToBack) {
            if (window.pid != pid || window.isDockOrDesktop) continue;
            any = true;
            allMinimised &= window.minimized;
        }
        app.isHidden = any && allMinimised;
    }
}

bool X11RunningApps::keepPictures(std::map<std::string, std::vector<PixelBuffer>> fresh) {
    std::set<std::string> shown;
    for (const auto& [pid, app] : apps_)
        shown.insert(pictureName(app));
    std::erase_if(pictures_, [&shown](const auto& kept) { return !shown.contains(kept.first); });
    bool any = false;
    for (auto& [name, pictures] : fresh) {
        if (pictures.empty()) continue;
        pictures_.insert_or_assign(name, std::move(pictures));
        any = true;
    }
    return any;
}

}  // namespace quillbern
