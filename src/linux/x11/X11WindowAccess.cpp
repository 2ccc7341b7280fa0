#include "linux/x11/X11WindowAccess.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>

#include "core/foundation/Log.h"
#include "core/foundation/ProcessId.h"
#include "linux/x11/X11ClientTable.h"
#include "linux/x11/X11Errors.h"
#include "linux/x11/X11HiddenApps.h"
#include "linux/x11/X11UserTime.h"
#include "linux/x11/X11WindowChanges.h"
#include "linux/x11/XcbConnection.h"
#include "xcb/WindowManagerMessage.h"

namespace quillbern {

namespace {

// An element is its kind and the number of what it stands for: a process or an X window.
enum class Kind : std::uint64_t { none = 0, app = 1, window = 2, closeButton = 3, systemWide = 4 };
constexpr int kKindShift = 40;

ElementRef element(Kind kind, std::uint32_t id) {
    return {(static_cast<std::uint64_t>(kind) << kKindShift) | id};
}
Kind kindOf(ElementRef ref) {
    return static_cast<Kind>(ref.value >> kKindShift);
}
std::uint32_t idOf(ElementRef ref) {
    return static_cast<std::uint32_t>(ref.value);
}

// Requests say they come from a pager, which window managers obey without focus-stealing
// checks.
constexpr std::uint32_t kSourcePager = 2;
constexpr std::uint32_t kIconicState = 3;
constexpr std::uint32_t kStateRemove = 0;
constexpr std::uint32_t kStateAdd = 1;
constexpr std::uint32_t kNorthWestGravity = 1;
constexpr std::uint32_t kMovePosition = (1u << 8) | (1u << 9);
constexpr std::uint32_t kMoveSize = (1u << 10) | (1u << 11);

// What a window's StructureNotify selection reports.
bool isStructureReport(std::uint8_t type) {
    switch (type) {
        case XCB_CONFIGURE_NOTIFY:
        case XCB_MAP_NOTIFY:
        case XCB_UNMAP_NOTIFY:
        case XCB_DESTROY_NOTIFY:
        case XCB_REPARENT_NOTIFY:
        case XCB_GRAVITY_NOTIFY:
        case XCB_CIRCULATE_NOTIFY:
            return true;
        default:
            return false;
    }
}

std::uint32_t coordinate(double value) {
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(value)));
}

}  // namespace

class X11WindowAccess::Observer final : public AppObserver {
public:
    Observer(X11WindowAccess& access, std::uint64_t id, Pid pid) : access_(access), id_(id), pid_(pid) {}
    ~Observer() override { access_.unsubscribe(id_); }

    bool add(ElementRef ref, ElementEvent event) override {
        // Events are heard for the whole application only.
        if (ref != element(Kind::app, std::uint32_t(pid_))) return false;
        access_.subscribers_.at(id_).wanted.insert(event);
        return true;
    }
    void remove(ElementRef ref, ElementEvent event) override {
        if (ref == element(Kind::app, std::uint32_t(pid_))) access_.subscribers_.at(id_).wanted.erase(event);
    }

private:
    X11WindowAccess& access_;
    std::uint64_t id_;
    Pid pid_;
};

X11WindowAccess::X11WindowAccess(std::function<DesktopSpace()> desktopSpace, X11HiddenApps& hidden,
                                 const X11UserTime* userTime)
    : desktopSpace_(std::move(desktopSpace)),
      hidden_(hidden),
      userTime_(userTime),
      connection_(XcbConnection::open()),
      ownPid_(getpid()) {
    if (!connection_) return;
    reader_ = std::make_unique<X11ClientReader>(*connection_);
    const XcbConnection& c = *connection_;
    atoms_ = {c.atom("_NET_ACTIVE_WINDOW"),       c.atom("WM_CHANGE_STATE"),        c.atom("_NET_WM_STATE"),
              c.atom("_NET_WM_STATE_FULLSCREEN"), c.atom("_NET_MOVERESIZE_WINDOW"), c.atom("_NET_CLOSE_WINDOW"),
              c.atom("_NET_RESTACK_WINDOW")};
}

X11WindowAccess::~X11WindowAccess() = default;

ElementRef X11WindowAccess::appElement(Pid pid) {
    return element(Kind::app, std::uint32_t(pid));
}

ElementRef X11WindowAccess::systemWideElement() {
    return element(Kind::systemWide, 0);
}

void X11WindowAccess::setTimeout(ElementRef ref, Duration limit) {
    expectOnLoop(loop_);
    if (kindOf(ref) == Kind::systemWide) {
        defaultTimeout_ = limit;
        return;
    }
    // Each element new here is the moment to forget the processes that have ended.
    if (timeouts_.insert_or_assign(ref, limit).second) {
        std::erase_if(timeouts_, [](const auto& entry) {
            const Pid owner = Pid(idOf(entry.first));
            return kindOf(entry.first) == Kind::app && isProcessOwner(owner) && !processExists(owner);
        });
    }
}

std::chrono::steady_clock::time_point X11WindowAccess::deadlineFor(ElementRef ref) const {
    const auto own = timeouts_.find(ref);
    const Duration limit = own != timeouts_.end() ? own->second : defaultTimeout_;
    return std::chrono::steady_clock::now() +
           std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(limit));
}

std::optional<ClientTable> X11WindowAccess::readTable(const DesktopSpace& space,
                                                      std::chrono::steady_clock::time_point deadline,
                                                      std::optional<KnownClients> known) {
    ++tableReadings_;
    return reader_->read(space, deadline, known);
}

const ClientTable* X11WindowAccess::table(ElementRef forCall) {
    expectOnLoop(loop_);
    current_ = nullptr;
    if (!reader_ || connection_->isBroken()) return nullptr;
    if (loop_) {
        // Reports that arrived but were not read yet count too.
        if (connection_->keepArrivedEvents() || stale_) refresh();
        if (!stale_) current_ = baseline_.get();
        return current_;
    }
    const auto now = std::chrono::steady_clock::now();
    if (cached_ && now - cachedAt_ < std::chrono::duration<double>(kTableReuse)) return current_ = cached_.get();
    auto fresh = readTable(desktopSpace_(), deadlineFor(forCall));
    if (!fresh) {
        cached_.reset();
        return nullptr;
    }
    cached_ = std::make_unique<ClientTable>(std::move(*fresh));
    cachedAt_ = std::chrono::steady_clock::now();
    return current_ = cached_.get();
}

const ClientFacts* X11WindowAccess::facts(ElementRef window) {
    if (kindOf(window) != Kind::window) return nullptr;
    const ClientTable* clients = table(window);
    if (!clients) return nullptr;
    const ClientFacts* found = clients->find(idOf(window));
    return found && isListed(*found) ? found : nullptr;
}

bool X11WindowAccess::isListed(const ClientFacts& facts) const {
    return facts.pid && *facts.pid != ownPid_ && !facts.isDockOrDesktop;
}

void X11WindowAccess::changed() {
    // While watching, the window manager's answer arrives as a report.
    cached_.reset();
}

Read<bool> X11WindowAccess::readBool(ElementRef ref, Attribute attribute) {
    if (kindOf(ref) == Kind::app) {
        const Pid pid = Pid(idOf(ref));
        if (attribute == Attribute::hidden) return Read<bool>::of(isHidden(pid));
        if (attribute != Attribute::frontmost) return Read<bool>::noValue();
        const ClientTable* clients = table(ref);
        if (!clients) return Read<bool>::failure();
        const ClientFacts* active = clients->find(clients->active);
        return Read<bool>::of(active && isListed(*active) && active->pid == pid);
    }
    if (kindOf(ref) != Kind::window) return Read<bool>::noValue();
    const ClientFacts* window = facts(ref);
    if (!window) return Read<bool>::failure();
    switch (attribute) {
        case Attribute::minimized:
            return Read<bool>::of(window->minimized);
        case Attribute::fullScreen:
            return Read<bool>::of(window->fullScreen);
        case Attribute::focused:
            return Read<bool>::of(current_->active == window->window);
        case Attribute::main: {
            const ClientFacts* main = current_->mainWindowOf(*window->pid);
            return Read<bool>::of(main && main->window == window->window);
        }
        default:
            return Read<bool>::noValue();
    }
}

Read<std::string> X11WindowAccess::readString(ElementRef ref, Attribute attribute) {
    if (kindOf(ref) != Kind::window || attribute != Attribute::title) return Read<std::string>::noValue();
    const ClientFacts* window = facts(ref);
    if (!window) return Read<std::string>::failure();
    return window->title ? Read<std::string>::of(*window->title) : Read<std::string>::noValue();
}

Read<WindowRole> X11WindowAccess::readRole(ElementRef ref) {
    if (kindOf(ref) != Kind::window) return Read<WindowRole>::noValue();
    const ClientFacts* window = facts(ref);
    if (!window) return Read<WindowRole>::failure();
    return Read<WindowRole>::of(window->isOrdinary ? WindowRole::window : WindowRole::other);
}

Read<ElementRef> X11WindowAccess::readElement(ElementRef ref, Attribute attribute) {
    if (kindOf(ref) == Kind::window && attribute == Attribute::closeButton) {
        const ClientFacts* window = facts(ref);
        if (!window) return Read<ElementRef>::failure();
        return window->closable ? Read<ElementRef>::of(element(Kind::closeButton, window->window))
                                : Read<ElementRef>::noValue();
    }
    if (kindOf(ref) != Kind::app || (attribute != Attribute::focusedWindow && attribute != Attribute::mainWindow)) {
        return Read<ElementRef>::noValue();
    }
    const Pid pid = Pid(idOf(ref));
    const ClientTable* clients = table(ref);
    if (!clients) return Read<ElementRef>::failure();
    const ClientFacts* window =
        attribute == Attribute::mainWindow ? clients->mainWindowOf(pid) : clients->find(clients->active);
    if (!window || !isListed(*window) || window->pid != pid) return Read<ElementRef>::noValue();
    return Read<ElementRef>::of(element(Kind::window, window->window));
}

Read<std::vector<ElementRef>> X11WindowAccess::readElements(ElementRef ref, Attribute attribute) {
    if (kindOf(ref) != Kind::app || attribute != Attribute::windows) return Read<std::vector<ElementRef>>::noValue();
    const Pid pid = Pid(idOf(ref));
    const ClientTable* clients = table(ref);
    if (!clients) return Read<std::vector<ElementRef>>::failure();
    std::vector<ElementRef> windows;
    for (const ClientFacts& window : clients->frontToBack) {
        if (window.pid == pid && isListed(window)) windows.push_back(element(Kind::window, window.window));
    }
    return Read<std::vector<ElementRef>>::of(std::move(windows));
}

Read<PointTL> X11WindowAccess::readPosition(ElementRef ref) {
    if (kindOf(ref) != Kind::window) return Read<PointTL>::noValue();
    const ClientFacts* window = facts(ref);
    if (!window) return Read<PointTL>::failure();
    return Read<PointTL>::of(window->frame->origin());
}

Read<Size> X11WindowAccess::readSize(ElementRef ref) {
    if (kindOf(ref) != Kind::window) return Read<Size>::noValue();
    const ClientFacts* window = facts(ref);
    if (!window) return Read<Size>::failure();
    return Read<Size>::of(window->frame->size());
}

Read<WindowId> X11WindowAccess::windowId(ElementRef ref) {
    const ClientFacts* window = facts(ref);
    return window ? Read<WindowId>::of(window->window) : Read<WindowId>::failure();
}

bool X11WindowAccess::send(const ClientFacts& facts, std::uint32_t type, std::uint32_t d0, std::uint32_t d1,
                           std::uint32_t d2, std::uint32_t d3, std::uint32_t d4) {
    sendToWindowManager(connection_->xcb(), connection_->root(), facts.window, type, {d0, d1, d2, d3, d4});
    // The window manager answers in its own time: the next read asks again.
    changed();
    return !connection_->isBroken();
}

xcb_timestamp_t X11WindowAccess::userTime() const {
    return userTime_ ? userTime_->requestTime() : XCB_CURRENT_TIME;
}

bool X11WindowAccess::activate(const ClientFacts& facts) {
    return bringForwardSoon(facts, false);
}

bool X11WindowAccess::bringForwardSoon(const ClientFacts& facts, bool raise) {
    const bool posted = forward_.has_value();
    forward_ = Forward{facts, raise || (posted && forward_->window.window == facts.window && forward_->raise)};
    if (!loop_) {
        sendForward();
    } else if (!posted) {
        loop_->post(lifetime_.guard([this] { sendForward(); }));
    }
    return !connection_->isBroken();
}

void X11WindowAccess::sendForward() {
    if (!forward_) return;
    const Forward forward = std::move(*forward_);
    forward_.reset();
    const xcb_timestamp_t time = userTime();
    if (forward.raise) {
        bringForward(connection_->xcb(), connection_->root(), forward.window, atoms_.activeWindow, atoms_.restack,
                     time);
        changed();
    } else {
        send(forward.window, atoms_.activeWindow, kSourcePager, time, XCB_WINDOW_NONE);
    }
}

bool X11WindowAccess::isHidden(Pid pid) {
    const std::vector<HiddenWindow> remembered = hidden_.windows(pid);
    if (remembered.empty()) return false;
    const ClientTable* clients = table(appElement(pid));
    if (!clients) return false;
    return std::ranges::any_of(remembered, [&](const HiddenWindow& hidden) {
        const ClientFacts* window = clients->find(hidden.window);
        return window && window->pid == hidden.pid && window->minimized;
    });
}

bool X11WindowAccess::show(Pid pid) {
    const std::vector<HiddenWindow> remembered = hidden_.take(pid);
    if (remembered.empty()) return true;
    const ClientTable* clients = table(appElement(pid));
    if (!clients) return false;
    showWindows(connection_->xcb(), connection_->root(), *clients, pid, remembered, atoms_.activeWindow, atoms_.restack,
                userTime());
    changed();
    return !connection_->isBroken();
}

bool X11WindowAccess::writeBool(ElementRef ref, Attribute attribute, bool value) {
    if (kindOf(ref) == Kind::app) {
        const Pid pid = Pid(idOf(ref));
        if (attribute == Attribute::hidden) return !value && show(pid);  // hiding goes through the applications
        if (attribute != Attribute::frontmost || !value) return false;
        const ClientTable* clients = table(ref);
        if (!clients) return false;
        const ClientFacts* active = clients->find(clients->active);
        if (active && isListed(*active) && active->pid == pid) return true;
        const ClientFacts* main = clients->mainWindowOf(pid);
        return main && isListed(*main) && activate(*main);
    }
    const ClientFacts* window = facts(ref);
    if (!window) return false;
    switch (attribute) {
        case Attribute::minimized:
            return value ? send(*window, atoms_.changeState, kIconicState) : activate(*window);
        case Attribute::fullScreen:
            return send(*window, atoms_.state, value ? kStateAdd : kStateRemove, atoms_.fullScreen, 0, kSourcePager);
        case Attribute::main:
        case Attribute::focused:
            return value && activate(*window);
        default:
            return false;
    }
}

bool X11WindowAccess::writePosition(ElementRef ref, PointTL origin) {
    const ClientFacts* window = facts(ref);
    if (!window) return false;
    // With north-west gravity the window manager places the frame's corner itself.
    const PointTL desktop = desktopSpace_().fromGlobal(origin);
    return send(*window, atoms_.moveResize, kNorthWestGravity | kMovePosition | (kSourcePager << 12),
                coordinate(desktop.x), coordinate(desktop.y));
}

bool X11WindowAccess::writeSize(ElementRef ref, Size size) {
    const ClientFacts* window = facts(ref);
    if (!window) return false;
    // The size asked for is the outer frame's; the client gets what the decorations leave.
    const long width = std::lround(size.width - window->extents.left - window->extents.right);
    const long height = std::lround(size.height - window->extents.top - window->extents.bottom);
    if (width < 1 || height < 1) return false;
    return send(*window, atoms_.moveResize, kNorthWestGravity | kMoveSize | (kSourcePager << 12), 0, 0,
                std::uint32_t(width), std::uint32_t(height));
}

bool X11WindowAccess::writeFrame(ElementRef ref, RectTL frame) {
    const ClientFacts* window = facts(ref);
    if (!window) return false;
    const PointTL desktop = desktopSpace_().fromGlobal(frame.origin());
    const long width = std::lround(frame.width - window->extents.left - window->extents.right);
    const long height = std::lround(frame.height - window->extents.top - window->extents.bottom);
    if (width < 1 || height < 1) return false;
    return send(*window, atoms_.moveResize, kNorthWestGravity | kMovePosition | kMoveSize | (kSourcePager << 12),
                coordinate(desktop.x), coordinate(desktop.y), std::uint32_t(width), std::uint32_t(height));
}

bool X11WindowAccess::perform(ElementRef ref, ElementAction action) {
    if (action == ElementAction::press) {
        if (kindOf(ref) != Kind::closeButton) return false;
        const ClientFacts* window = facts(element(Kind::window, idOf(ref)));
        return window && window->closable && send(*window, atoms_.close, XCB_CURRENT_TIME, kSourcePager);
    }
    const ClientFacts* window = facts(ref);
    return window && bringForwardSoon(*window, true);
}

// --- observers ---

std::unique_ptr<AppObserver> X11WindowAccess::observe(Pid pid, WorkerLoop& loop,
                                                      std::function<void(ElementEvent, ElementRef)> callback) {
    expectOnLoop(loop_);
    if (!canWatch(loop)) return nullptr;
    if (!loop_) startWatching(loop);
    const std::uint64_t id = nextSubscriber_++;
    subscribers_.emplace(
        id, Subscriber{pid, {}, std::make_shared<std::function<void(ElementEvent, ElementRef)>>(std::move(callback))});
    return std::make_unique<Observer>(*this, id, pid);
}

Subscription X11WindowAccess::watchChanges(WorkerLoop& loop, Task onChange) {
    expectOnLoop(loop_);
    if (!canWatch(loop)) return {};
    if (!loop_) startWatching(loop);
    const std::uint64_t id = nextChangeWatch_++;
    changeWatches_.emplace(id, std::make_shared<Task>(std::move(onChange)));
    return Subscription([this, id, token = lifetime_.token()] {
        if (!token.isAlive()) return;
        changeWatches_.erase(id);
        stopWatchingIfUnused();
    });
}

std::optional<std::vector<ListedWindow>> X11WindowAccess::onScreenWindows() const {
    // Reading refreshes this object's copy of the table, not what it stands for.
    auto& self = const_cast<X11WindowAccess&>(*this);
    const ClientTable* clients = self.table(self.systemWideElement());
    if (!clients) return std::nullopt;
    return onScreenList(*clients);
}

bool X11WindowAccess::unsubscribe(std::uint64_t id) {
    expectOnLoop(loop_);
    subscribers_.erase(id);
    stopWatchingIfUnused();
    return true;
}

bool X11WindowAccess::canWatch(WorkerLoop& loop) const {
    return reader_ && !connection_->isBroken() && (!loop_ || loop_ == &loop);
}

void X11WindowAccess::startWatching(WorkerLoop& loop) {
    loop_ = &loop;
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection_->xcb(), connection_->root(), XCB_CW_EVENT_MASK, &mask);
    const DesktopSpace space = desktopSpace_();
    auto first = readTable(space, deadlineFor(systemWideElement()));
    stale_ = !first;
    staleClients_.emplace(*connection_);
    if (first) staleClients_->read(space);
    baseline_ = std::make_unique<ClientTable>(first ? std::move(*first) : ClientTable{});
    watchClients(*baseline_);
    xcb_flush(connection_->xcb());
    readable_ = loop.addReadable(connection_->fd(), lifetime_.guard([this] { pump(); }), [] {
        log("the window list's connection to the X server broke: windows are no longer followed");
    });
    pumpSoon();
}

void X11WindowAccess::stopWatchingIfUnused() {
    // The loop may end once nothing listens: nothing of ours may stay on it.
    if (!loop_ || !subscribers_.empty() || !changeWatches_.empty()) return;
    sendForward();
    readable_.reset();
    const std::uint32_t none = XCB_EVENT_MASK_NO_EVENT;
    xcb_change_window_attributes(connection_->xcb(), connection_->root(), XCB_CW_EVENT_MASK, &none);
    for (const std::uint32_t window : watched_) {
        selectEventsOfPassingWindow(connection_->xcb(), window, none);
    }
    for (const auto& [client, topLevel] : topLevels_) {
        if (topLevel != client) selectEventsOfPassingWindow(connection_->xcb(), topLevel, none);
    }
    xcb_flush(connection_->xcb());
    watched_.clear();
    topLevels_.clear();
    baseline_.reset();
    current_ = nullptr;
    stale_ = false;
    loop_ = nullptr;
    pumpPosted_ = false;
}

void X11WindowAccess::watchClients(const ClientTable& clients) {
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    std::set<std::uint32_t> present;
    for (const ClientFacts& client : clients.frontToBack) {
        present.insert(client.window);
        if (!watched_.contains(client.window)) {
            selectEventsOfPassingWindow(connection_->xcb(), client.window, mask);
        }
    }
    watched_ = std::move(present);
    std::erase_if(topLevels_, [this](const auto& entry) { return !watched_.contains(entry.first); });
    std::vector<xcb_window_t> unframed;
    for (const std::uint32_t client : watched_) {
        if (!topLevels_.contains(client)) unframed.push_back(client);
    }
    if (unframed.empty()) return;
    const std::uint32_t frameMask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    const std::map<xcb_window_t, xcb_window_t> found = topLevelsOf(unframed);
    for (const auto& [client, topLevel] : found) {
        topLevels_.emplace(client, topLevel);
        if (topLevel != client) selectEventsOfPassingWindow(connection_->xcb(), topLevel, frameMask);
        // What changed before the server took the selections shows in another reading.
        staleClients_->mark(client);
    }
    if (found.empty()) return;
    stale_ = true;
    loop_->post(lifetime_.guard([this] {
        if (loop_) pump();
    }));
}

std::map<xcb_window_t, xcb_window_t> X11WindowAccess::topLevelsOf(const std::vector<xcb_window_t>& clients) {
    // Window managers nest a client a level or two inside its frame: each level is one
    // round trip for all the clients at once.
    constexpr int kMaxDepth = 4;
    xcb_connection_t* c = connection_->xcb();
    const auto deadline = deadlineFor(systemWideElement());
    std::map<xcb_window_t, xcb_window_t> found;
    std::vector<std::pair<xcb_window_t, xcb_window_t>> climbing;  // client, the window reached
    for (const xcb_window_t client : clients)
        climbing.emplace_back(client, client);
    for (int depth = 0; depth < kMaxDepth && !climbing.empty(); ++depth) {
        std::vector<xcb_query_tree_cookie_t> cookies;
        for (const auto& [client, reached] : climbing)
            cookies.push_back(xcb_query_tree(c, reached));
        if (!connection_->sync(deadline)) {
            for (const xcb_query_tree_cookie_t cookie : cookies)
                xcb_discard_reply(c, cookie.sequence);
            return found;
        }
        std::vector<std::pair<xcb_window_t, xcb_window_t>> higher;
        for (std::size_t i = 0; i < climbing.size(); ++i) {
            const XcbReply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, cookies[i], nullptr));
            // A window gone meanwhile leaves the table at the next reading.
            if (!tree) continue;
            if (tree->parent == connection_->root()) {
                found.emplace(climbing[i]);
            } else {
                higher.emplace_back(climbing[i].first, tree->parent);
            }
        }
        climbing = std::move(higher);
    }
    // Deeper than any window manager nests: the highest window reached stands for the frame.
    found.insert(climbing.begin(), climbing.end());
    return found;
}

void X11WindowAccess::pumpSoon() {
    // A reply may have pulled events into xcb's queue without the socket staying readable.
    if (!loop_ || pumpPosted_ || !connection_->keepArrivedEvents()) return;
    pumpPosted_ = true;
    loop_->post(lifetime_.guard([this] {
        pumpPosted_ = false;
        if (loop_) pump();
    }));
}

void X11WindowAccess::pump() {
    if (!baseline_) return;
    const auto reports = connection_->takeEvents();
    if (reports.empty() && !stale_) return;
    note(reports);
    refresh();
}

void X11WindowAccess::note(const std::vector<XcbReply<xcb_generic_event_t>>& reports) {
    staleClients_->note(reports);
    for (const auto& report : reports) {
        const std::uint8_t type = report->response_type & 0x7F;
        if (!isStructureReport(type)) continue;
        // All start with the window reporting, then the one that changed.
        const xcb_window_t window = reinterpret_cast<const xcb_unmap_notify_event_t&>(*report).window;
        // A client taken into another frame is looked for again.
        if (type == XCB_REPARENT_NOTIFY) topLevels_.erase(window);
        for (const auto& [client, topLevel] : topLevels_) {
            if (topLevel == window && topLevel != client) staleClients_->mark(client);
        }
    }
}

void X11WindowAccess::refresh() {
    // Reports say which windows changed; their facts say how. Under a churn of many windows
    // this keeps the readings, and the X server's work for them, to the windows that moved.
    note(connection_->takeEvents());
    const DesktopSpace space = desktopSpace_();
    auto fresh = readTable(space, deadlineFor(systemWideElement()), staleClients_->since(*baseline_, space));
    // Reports that came in meanwhile ask for another look.
    pumpSoon();
    if (!fresh) {
        stale_ = true;
        return;
    }
    stale_ = false;
    staleClients_->read(space);
    if (*fresh == *baseline_) {
        // A client taken into another frame may be the same to look at.
        watchClients(*baseline_);
        xcb_flush(connection_->xcb());
        return;
    }
    const std::vector<WindowChange> changes = windowChanges(*baseline_, *fresh);
    *baseline_ = std::move(*fresh);
    watchClients(*baseline_);
    xcb_flush(connection_->xcb());

    struct Delivery {
        std::uint64_t subscriber;
        std::shared_ptr<std::function<void(ElementEvent, ElementRef)>> callback;
        WindowChange change;
    };
    std::vector<Delivery> deliveries;
    for (const WindowChange& change : changes) {
        for (const auto& [id, subscriber] : subscribers_) {
            if (subscriber.pid == change.pid && subscriber.wanted.contains(change.event)) {
                deliveries.push_back({id, subscriber.callback, change});
            }
        }
    }
    std::vector<std::pair<std::uint64_t, std::shared_ptr<Task>>> watches(changeWatches_.begin(), changeWatches_.end());
    for (const Delivery& delivery : deliveries) {
        // An earlier callback may have removed this observer.
        if (subscribers_.contains(delivery.subscriber))
            (*delivery.callback)(delivery.change.event, appElement(delivery.change.pid));
    }
    for (const auto& [id, watch] : watches) {
        if (changeWatches_.contains(id)) (*watch)();
    }
}

}  // namespace quillbern
