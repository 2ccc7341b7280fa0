#include "linux/x11/X11Screens.h"

#include <algorithm>
#include <functional>
#include <mutex>
#include <set>
#include <xcb/randr.h>

#include "core/foundation/Log.h"
#include "core/platform/DisplayIdentity.h"
#include "core/platform/WorkerStop.h"
#include "linux/x11/Strut.h"
#include "linux/x11/X11Errors.h"
#include "linux/x11/X11Properties.h"
#include "linux/x11/XcbConnection.h"

namespace quillbern {

namespace {

// Monitors made without an output (xrandr --setmonitor ... none) are keyed by their name
// atom with the top bit set, which no X resource id has, so they never clash with outputs.
constexpr std::uint32_t kMonitorWithoutOutput = 0x80000000u;

std::optional<MonitorEdid> parseEdid(const std::uint8_t* data, int length) {
    static constexpr std::uint8_t kHeader[] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    if (length < 16 || !std::equal(std::begin(kHeader), std::end(kHeader), data)) return std::nullopt;
    MonitorEdid edid;
    edid.vendor = std::uint32_t(data[8]) << 8 | data[9];
    edid.product = std::uint32_t(data[10]) | std::uint32_t(data[11]) << 8;
    edid.serial = std::uint32_t(data[12]) | std::uint32_t(data[13]) << 8 | std::uint32_t(data[14]) << 16 |
                  std::uint32_t(data[15]) << 24;
    return edid;
}

std::string atomName(xcb_connection_t* c, xcb_atom_t atom) {
    const XcbReply<xcb_get_atom_name_reply_t> reply(xcb_get_atom_name_reply(c, xcb_get_atom_name(c, atom), nullptr));
    if (!reply) return {};
    return std::string(xcb_get_atom_name_name(reply.get()), xcb_get_atom_name_name_length(reply.get()));
}

struct StrutCookies {
    xcb_get_property_cookie_t partial, full;
};

StrutCookies askStrut(xcb_connection_t* c, xcb_window_t window, xcb_atom_t partial, xcb_atom_t full) {
    return {xcb_get_property(c, 0, window, partial, XCB_ATOM_CARDINAL, 0, 12),
            xcb_get_property(c, 0, window, full, XCB_ATOM_CARDINAL, 0, 4)};
}

// A window's struts as read: the older form runs where the window lies, which takes
// another question.
struct StrutValues {
    std::optional<Strut> partial;
    std::vector<std::uint32_t> full;
    bool any() const { return partial || Strut::fromFull(full, {}); }
};

StrutValues strutValues(xcb_connection_t* c, const StrutCookies& cookies) {
    return {Strut::fromPartial(propertyItems(c, cookies.partial)), propertyItems(c, cookies.full)};
}

struct PlaceCookies {
    xcb_get_geometry_cookie_t geometry;
    xcb_translate_coordinates_cookie_t origin;
};

PlaceCookies askPlace(xcb_connection_t* c, xcb_window_t window, xcb_window_t root) {
    return {xcb_get_geometry(c, window), xcb_translate_coordinates(c, window, root, 0, 0)};
}

// The window's rectangle in root coordinates.
std::optional<RectTL> placeOf(xcb_connection_t* c, const PlaceCookies& cookies) {
    const XcbReply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, cookies.geometry, nullptr));
    const XcbReply<xcb_translate_coordinates_reply_t> origin(
        xcb_translate_coordinates_reply(c, cookies.origin, nullptr));
    if (!geometry || !origin) return std::nullopt;
    return RectTL{double(origin->dst_x), double(origin->dst_y), double(geometry->width), double(geometry->height)};
}

constexpr Duration kStartLimit = 2.0;

// How deep inside a top-level a window manager may keep a bar of its own: icewm's taskbar
// is the client of a container inside a frame, as its managed windows are.
constexpr int kBarDepth = 2;

struct Inside {
    xcb_window_t window;
    xcb_window_t topLevel;
};

// The windows inside each top-level, down to kBarDepth levels, each level asked for at once.
std::vector<Inside> windowsInside(xcb_connection_t* c, const std::vector<xcb_window_t>& topLevels) {
    std::vector<Inside> found;
    std::vector<Inside> level;
    for (const xcb_window_t window : topLevels)
        level.push_back({window, window});
    for (int depth = 0; depth < kBarDepth && !level.empty(); ++depth) {
        std::vector<xcb_query_tree_cookie_t> cookies;
        cookies.reserve(level.size());
        for (const Inside& parent : level)
            cookies.push_back(xcb_query_tree(c, parent.window));
        std::vector<Inside> next;
        for (std::size_t i = 0; i < level.size(); ++i) {
            const XcbReply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, cookies[i], nullptr));
            if (!tree) continue;
            const xcb_window_t* first = xcb_query_tree_children(tree.get());
            for (int j = 0; j < xcb_query_tree_children_length(tree.get()); ++j)
                next.push_back({first[j], level[i].topLevel});
        }
        found.insert(found.end(), next.begin(), next.end());
        level = std::move(next);
    }
    return found;
}

}  // namespace

// What the worker reads with and keeps: its connection, the monitors, the windows it
// watches for struts, and the active window's frame, which any thread reads under its lock.
// The rest is touched on the worker only (before it starts, by the constructor). Its source,
// timers and posted blocks hold it weakly, so a running one holds it.
class X11Screens::Follower : public std::enable_shared_from_this<Follower> {
public:
    using Publish = std::function<void(const Layout&)>;

    Follower();
    bool isConnected() const { return connection_ != nullptr; }
    // The layout and the active window, waiting for the server.
    Layout firstReading();
    // Follows the server's reports on the worker; each new layout goes to `publish`.
    void start(WorkerLoop& worker, Publish publish);
    void stop();
    std::optional<RectTL> activeFrame() const;

private:
    template <class Step>
    Task guarded(Step step) {
        return [weak = weak_from_this(), step] {
            if (auto follower = weak.lock()) step(*follower);
        };
    }
    Monitors readMonitors() const;
    // In root coordinates.
    std::optional<RectTL> readActiveFrame() const;
    void keepActiveFrame();
    // Also starts watching the mapped top-level windows' struts.
    Reservations readReservations();
    void pump();
    void handle(const xcb_generic_event_t& event);
    void topLevelMapped(xcb_window_t window);
    void scheduleRefresh();
    void scheduleActiveRead();
    void refresh();
    void pumpArrived();

    std::unique_ptr<XcbConnection> connection_;
    std::uint8_t randrFirstEvent_ = 0;
    xcb_atom_t workAreaAtom_ = 0, clientListAtom_ = 0, currentDesktopAtom_ = 0, strutPartialAtom_ = 0, strutAtom_ = 0,
               activeWindowAtom_ = 0;
    Monitors monitors_;
    // The mapped children of the root, watched for their struts, and those that have one.
    std::set<xcb_window_t> topLevels_;
    std::set<xcb_window_t> strutHolders_;
    Timer pendingRefresh_;
    Timer pendingActiveRead_;
    Subscription readable_;
    WorkerLoop* worker_ = nullptr;
    Publish publish_;
    mutable std::mutex activeMutex_;
    std::optional<RectTL> activeFrame_;
};

X11Screens::Follower::Follower() : connection_(XcbConnection::open()) {
    if (!connection_) return;
    workAreaAtom_ = connection_->atom("_NET_WORKAREA");
    clientListAtom_ = connection_->atom("_NET_CLIENT_LIST");
    currentDesktopAtom_ = connection_->atom("_NET_CURRENT_DESKTOP");
    strutPartialAtom_ = connection_->atom("_NET_WM_STRUT_PARTIAL");
    strutAtom_ = connection_->atom("_NET_WM_STRUT");
    activeWindowAtom_ = connection_->atom("_NET_ACTIVE_WINDOW");
    xcb_connection_t* c = connection_->xcb();
    if (const xcb_query_extension_reply_t* randr = xcb_get_extension_data(c, &xcb_randr_id); randr && randr->present) {
        randrFirstEvent_ = randr->first_event;
        xcb_randr_select_input(c, connection_->root(),
                               XCB_RANDR_NOTIFY_MASK_SCREEN_CHANGE | XCB_RANDR_NOTIFY_MASK_OUTPUT_CHANGE |
                                   XCB_RANDR_NOTIFY_MASK_CRTC_CHANGE | XCB_RANDR_NOTIFY_MASK_OUTPUT_PROPERTY);
    } else {
        log("the X server has no RandR: one display without identity");
    }
    // The window manager rewrites the work area whenever a client's struts change; windows
    // it does not manage (its own bars, override-redirect panels) are seen as they map.
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, connection_->root(), XCB_CW_EVENT_MASK, &mask);
}

X11Screens::Layout X11Screens::Follower::firstReading() {
    monitors_ = readMonitors();
    Layout layout = layoutOf(monitors_, readReservations());
    keepActiveFrame();
    return layout;
}

void X11Screens::Follower::keepActiveFrame() {
    std::optional<RectTL> frame = readActiveFrame();
    std::lock_guard lock(activeMutex_);
    activeFrame_ = std::move(frame);
}

void X11Screens::Follower::start(WorkerLoop& worker, Publish publish) {
    worker_ = &worker;
    publish_ = std::move(publish);
    readable_ = worker.addReadable(connection_->fd(), guarded([](Follower& follower) { follower.pump(); }), [] {
        log("the displays' connection to the X server broke: display changes are no longer followed");
    });
    // Whatever arrived since the first reading.
    pump();
}

void X11Screens::Follower::stop() {
    // What the loop holds of ours goes before the loop.
    readable_.reset();
    pendingRefresh_ = {};
    pendingActiveRead_ = {};
}

std::optional<RectTL> X11Screens::Follower::activeFrame() const {
    std::lock_guard lock(activeMutex_);
    return activeFrame_;
}

X11Screens::X11Screens(RunLoop& mainLoop, Threads& threads)
    : loop_(mainLoop), threads_(threads), follower_(std::make_shared<Follower>()) {
    if (!follower_->isConnected()) return;
    layout_ = follower_->firstReading();
    worker_ = threads.startWorker(kThreadName, kStartLimit);
    if (!worker_) {
        log("the displays' thread did not start; display changes are not followed");
        return;
    }
    worker_->post([follower = follower_, worker = worker_.get(),
                   publish = onLoop(loop_, lifetime_.token(), [this](const Layout& fresh) { apply(fresh); })] {
        follower->start(*worker, publish);
    });
}

X11Screens::~X11Screens() {
    stop();
}

void X11Screens::stop() {
    if (!worker_) return;
    worker_->post([follower = follower_] { follower->stop(); });
    stopWorker(std::move(worker_), threads_, kThreadName);
}

std::vector<ScreenInfo> X11Screens::screens() const {
    std::lock_guard lock(mutex_);
    return layout_.screens;
}

std::optional<ScreenInfo> X11Screens::mainScreen() const {
    const std::optional<RectTL> activeFrame = follower_->activeFrame();
    std::lock_guard lock(mutex_);
    if (layout_.screens.empty()) return std::nullopt;
    // The first screen when nothing is active, or the active window is on none.
    const ScreenInfo* best = activeFrame ? bestScreen(layout_.space.toScreen(*activeFrame), layout_.screens) : nullptr;
    return best ? *best : layout_.screens.front();
}

DesktopSpace X11Screens::desktopSpace() const {
    std::lock_guard lock(mutex_);
    return layout_.space;
}

Subscription X11Screens::onChanged(Task task) {
    return changed_.connect(std::move(task));
}

void X11Screens::Follower::pump() {
    // A handler's reads may read more events, which leave the socket quiet.
    for (auto events = connection_->takeEvents(); !events.empty(); events = connection_->takeEvents()) {
        for (const auto& event : events)
            handle(*event);
    }
}

void X11Screens::Follower::handle(const xcb_generic_event_t& event) {
    const std::uint8_t type = event.response_type & 0x7F;
    const xcb_window_t root = connection_->root();
    switch (type) {
        case XCB_PROPERTY_NOTIFY: {
            const auto& property = reinterpret_cast<const xcb_property_notify_event_t&>(event);
            if (property.window == root) {
                // A client that comes or goes changes no struts unless its frame holds some,
                // which its map or unmap tells.
                if (property.atom == workAreaAtom_ || property.atom == currentDesktopAtom_) {
                    scheduleRefresh();
                } else if (property.atom == activeWindowAtom_) {
                    scheduleActiveRead();
                }
            } else if ((property.atom == strutPartialAtom_ || property.atom == strutAtom_) &&
                       topLevels_.contains(property.window)) {
                scheduleRefresh();
            }
            return;
        }
        case XCB_MAP_NOTIFY: {
            const auto& map = reinterpret_cast<const xcb_map_notify_event_t&>(event);
            if (map.event == root) topLevelMapped(map.window);
            return;
        }
        case XCB_CONFIGURE_NOTIFY: {
            // A top-level frame moved or changed size; it may hold the active window.
            if (reinterpret_cast<const xcb_configure_notify_event_t&>(event).event == root) scheduleActiveRead();
            return;
        }
        case XCB_UNMAP_NOTIFY:
        case XCB_DESTROY_NOTIFY: {
            // Both events start with the same fields: the window reporting, then the one gone.
            const auto& gone = reinterpret_cast<const xcb_unmap_notify_event_t&>(event);
            if (gone.event != root) return;
            topLevels_.erase(gone.window);
            if (strutHolders_.erase(gone.window) > 0) scheduleRefresh();
            return;
        }
        default:
            if (randrFirstEvent_ != 0 && (type == randrFirstEvent_ + XCB_RANDR_SCREEN_CHANGE_NOTIFY ||
                                          type == randrFirstEvent_ + XCB_RANDR_NOTIFY)) {
                scheduleRefresh();
            }
            return;
    }
}

void X11Screens::Follower::topLevelMapped(xcb_window_t window) {
    xcb_connection_t* c = connection_->xcb();
    // Watched before its struts are read, so a change between the two is not missed.
    selectEventsOfPassingWindow(c, window, XCB_EVENT_MASK_PROPERTY_CHANGE);
    topLevels_.insert(window);
    // Frames of managed clients carry no struts; a bar of the window manager's does, on
    // itself or on a window inside it.
    const StrutCookies own = askStrut(c, window, strutPartialAtom_, strutAtom_);
    bool holdsStrut = strutValues(c, own).any();
    if (!holdsStrut) {
        std::vector<StrutCookies> inner;
        for (const Inside& inside : windowsInside(c, {window}))
            inner.push_back(askStrut(c, inside.window, strutPartialAtom_, strutAtom_));
        for (const StrutCookies& cookies : inner)
            holdsStrut |= strutValues(c, cookies).any();
    }
    if (holdsStrut) {
        strutHolders_.insert(window);
        scheduleRefresh();
    }
}

void X11Screens::Follower::scheduleRefresh() {
    if (pendingRefresh_.isPending()) return;
    pendingRefresh_ = worker_->after(kCoalesceDelay, guarded([](Follower& follower) { follower.refresh(); }));
}

void X11Screens::Follower::scheduleActiveRead() {
    if (pendingActiveRead_.isPending()) return;
    pendingActiveRead_ = worker_->after(kCoalesceDelay, guarded([](Follower& follower) {
                                            follower.keepActiveFrame();
                                            follower.pumpArrived();
                                        }));
}

std::optional<RectTL> X11Screens::Follower::readActiveFrame() const {
    xcb_connection_t* c = connection_->xcb();
    const xcb_window_t root = connection_->root();
    const std::vector<std::uint32_t> active =
        propertyItems(c, xcb_get_property(c, 0, root, activeWindowAtom_, XCB_ATOM_WINDOW, 0, 1));
    if (active.empty() || active.front() == XCB_WINDOW_NONE) return std::nullopt;
    return placeOf(c, askPlace(c, active.front(), root));
}

void X11Screens::Follower::refresh() {
    // Monitors too: Xvfb reports monitors set by xrandr through no RandR event, only
    // through the window manager rewriting the work area.
    monitors_ = readMonitors();
    publish_(layoutOf(monitors_, readReservations()));
    pumpArrived();
}

void X11Screens::Follower::pumpArrived() {
    // The reads may have read events that leave the socket quiet.
    if (connection_->keepArrivedEvents()) worker_->post(guarded([](Follower& follower) { follower.pump(); }));
}

void X11Screens::apply(Layout fresh) {
    {
        std::lock_guard lock(mutex_);
        if (fresh == layout_) return;
        layout_ = std::move(fresh);
    }
    changed_.emit();
}

X11Screens::Monitors X11Screens::Follower::readMonitors() const {
    xcb_connection_t* c = connection_->xcb();
    const xcb_window_t root = connection_->root();
    struct Monitor {
        std::string name;
        RectTL rect;
        bool primary = false;
        std::optional<DisplayId> id;
        DisplayIdentitySource identity;
    };
    std::vector<Monitor> monitors;

    const XcbReply<xcb_get_geometry_reply_t> rootGeometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, root), nullptr));
    const Size rootSize{rootGeometry ? double(rootGeometry->width) : 0,
                        rootGeometry ? double(rootGeometry->height) : 0};
    const XcbReply<xcb_randr_get_monitors_reply_t> reply(
        randrFirstEvent_ != 0 ? xcb_randr_get_monitors_reply(c, xcb_randr_get_monitors(c, root, 1), nullptr) : nullptr);
    if (reply) {
        const xcb_atom_t edidAtom = connection_->atom("EDID");
        for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem;
             xcb_randr_monitor_info_next(&it)) {
            const xcb_randr_monitor_info_t* info = it.data;
            Monitor m;
            m.name = atomName(c, info->name);
            m.rect = RectTL{double(info->x), double(info->y), double(info->width), double(info->height)};
            m.primary = info->primary != 0;
            m.identity.connector = m.name;
            m.id = info->name | kMonitorWithoutOutput;
            if (xcb_randr_monitor_info_outputs_length(info) > 0) {
                const xcb_randr_output_t output = xcb_randr_monitor_info_outputs(info)[0];
                m.id = output;
                const XcbReply<xcb_randr_get_output_info_reply_t> outputInfo(xcb_randr_get_output_info_reply(
                    c, xcb_randr_get_output_info(c, output, XCB_CURRENT_TIME), nullptr));
                if (outputInfo) {
                    m.identity.connector =
                        std::string(reinterpret_cast<const char*>(xcb_randr_get_output_info_name(outputInfo.get())),
                                    xcb_randr_get_output_info_name_length(outputInfo.get()));
                }
                const XcbReply<xcb_randr_get_output_property_reply_t> edid(xcb_randr_get_output_property_reply(
                    c, xcb_randr_get_output_property(c, output, edidAtom, XCB_ATOM_ANY, 0, 64, 0, 0), nullptr));
                if (edid && edid->format == 8) {
                    m.identity.edid = parseEdid(xcb_randr_get_output_property_data(edid.get()),
                                                xcb_randr_get_output_property_data_length(edid.get()));
                }
            }
            monitors.push_back(std::move(m));
        }
    }
    if (monitors.empty()) {
        // Without monitors the root is the one display; it has no identity, so no docks.
        Monitor m;
        m.name = "X screen";
        m.rect = RectTL{0, 0, rootSize.width, rootSize.height};
        m.primary = true;
        monitors.push_back(std::move(m));
    }
    std::stable_partition(monitors.begin(), monitors.end(), [](const Monitor& m) { return m.primary; });

    std::vector<DisplayIdentitySource> identities;
    for (const Monitor& m : monitors)
        identities.push_back(m.identity);
    const std::vector<std::string> stableIds = stableDisplayIds(identities);

    Monitors result;
    result.root = rootSize;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const Monitor& m = monitors[i];
        ScreenInfo info;
        info.id = m.id;
        if (m.id) info.stableId = stableIds[i];
        info.name = m.name;
        info.scale = 1;
        result.rects.push_back(m.rect);
        result.screens.push_back(std::move(info));
    }
    return result;
}

X11Screens::Reservations X11Screens::Follower::readReservations() {
    xcb_connection_t* c = connection_->xcb();
    const xcb_window_t root = connection_->root();
    // Every request of a stage before the first reply: five round trips in all, six with a
    // strut of the older form.
    const xcb_query_tree_cookie_t treeCookie = xcb_query_tree(c, root);
    const xcb_get_property_cookie_t clientsCookie =
        xcb_get_property(c, 0, root, clientListAtom_, XCB_ATOM_WINDOW, 0, 4096);
    const xcb_get_property_cookie_t workAreaCookie =
        xcb_get_property(c, 0, root, workAreaAtom_, XCB_ATOM_CARDINAL, 0, 4096);
    const xcb_get_property_cookie_t desktopCookie =
        xcb_get_property(c, 0, root, currentDesktopAtom_, XCB_ATOM_CARDINAL, 0, 1);

    std::vector<xcb_window_t> children;
    if (const XcbReply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, treeCookie, nullptr)); tree) {
        const xcb_window_t* first = xcb_query_tree_children(tree.get());
        children.assign(first, first + xcb_query_tree_children_length(tree.get()));
    }
    const std::vector<std::uint32_t> clients = propertyItems(c, clientsCookie);
    const std::vector<std::uint32_t> workAreas = propertyItems(c, workAreaCookie);
    const std::vector<std::uint32_t> desktop = propertyItems(c, desktopCookie);

    std::vector<xcb_get_window_attributes_cookie_t> attributes;
    attributes.reserve(children.size());
    for (const xcb_window_t child : children)
        attributes.push_back(xcb_get_window_attributes(c, child));
    std::set<xcb_window_t> mapped;
    for (std::size_t i = 0; i < children.size(); ++i) {
        const XcbReply<xcb_get_window_attributes_reply_t> reply(
            xcb_get_window_attributes_reply(c, attributes[i], nullptr));
        if (reply && reply->map_state != XCB_MAP_STATE_UNMAPPED) mapped.insert(children[i]);
    }
    // Watched before their struts are read; windows no longer mapped are forgotten.
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    for (const xcb_window_t window : mapped) {
        if (!topLevels_.contains(window)) selectEventsOfPassingWindow(c, window, mask);
    }
    topLevels_ = mapped;
    const std::vector<Inside> inner = windowsInside(c, {mapped.begin(), mapped.end()});

    struct Asked {
        xcb_window_t window;
        StrutCookies strut;
        // The mapped top-level that goes with the struts, if any.
        xcb_window_t topLevel = XCB_WINDOW_NONE;
        // For a window inside a top-level, whether it is shown.
        std::optional<xcb_get_window_attributes_cookie_t> shown;
    };
    std::vector<Asked> asked;
    std::set<xcb_window_t> seen = mapped;
    for (const xcb_window_t window : mapped)
        asked.push_back({window, askStrut(c, window, strutPartialAtom_, strutAtom_), window, std::nullopt});
    for (const std::uint32_t window : clients) {
        if (seen.insert(window).second)
            asked.push_back(
                {window, askStrut(c, window, strutPartialAtom_, strutAtom_), XCB_WINDOW_NONE, std::nullopt});
    }
    for (const auto& [window, topLevel] : inner) {
        if (seen.insert(window).second)
            asked.push_back({window, askStrut(c, window, strutPartialAtom_, strutAtom_), topLevel,
                             xcb_get_window_attributes(c, window)});
    }
    Reservations reservations;
    strutHolders_.clear();
    std::vector<std::pair<std::vector<std::uint32_t>, PlaceCookies>> older;
    for (const Asked& one : asked) {
        StrutValues strut = strutValues(c, one.strut);
        bool shown = true;
        if (one.shown) {
            const XcbReply<xcb_get_window_attributes_reply_t> reply(
                xcb_get_window_attributes_reply(c, *one.shown, nullptr));
            shown = reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
        }
        if (!strut.any() || !shown) continue;
        if (strut.partial) {
            reservations.struts.push_back(*strut.partial);
        } else {
            older.emplace_back(std::move(strut.full), askPlace(c, one.window, root));
        }
        if (one.topLevel != XCB_WINDOW_NONE) strutHolders_.insert(one.topLevel);
    }
    for (const auto& [values, place] : older) {
        if (const std::optional<RectTL> window = placeOf(c, place))
            reservations.struts.push_back(*Strut::fromFull(values, *window));
    }
    // One rectangle per desktop; the current one's.
    const std::size_t index = 4 * (desktop.empty() ? 0 : desktop.front());
    if (index + 4 <= workAreas.size()) {
        reservations.workArea = RectTL{double(workAreas[index]), double(workAreas[index + 1]),
                                       double(workAreas[index + 2]), double(workAreas[index + 3])};
    }
    xcb_flush(c);
    return reservations;
}

X11Screens::Layout X11Screens::layoutOf(const Monitors& monitors, const Reservations& reservations) {
    Layout layout;
    if (monitors.rects.empty()) return layout;
    layout.space = DesktopSpace(monitors.rects.front());
    for (std::size_t i = 0; i < monitors.rects.size(); ++i) {
        const RectTL& rect = monitors.rects[i];
        RectTL visible = visibleArea(rect, monitors.root, reservations.struts);
        if (reservations.workArea)
            visible = visible.intersection(workAreaOn(rect, monitors.rects, *reservations.workArea));
        ScreenInfo info = monitors.screens[i];
        info.frame = layout.space.toScreen(rect);
        info.visibleFrame = layout.space.toScreen(visible);
        layout.screens.push_back(std::move(info));
    }
    return layout;
}

}  // namespace quillbern
