#include "linux/x11/X11ClientTable.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <sys/utsname.h>
#include <variant>
#include <xcb/res.h>

#include "core/foundation/ProcessId.h"
#include "linux/x11/X11Errors.h"
#include "xcb/WindowManagerMessage.h"

namespace quillbern {

namespace {

constexpr std::uint32_t kIconicState = 3;
// Window managers obey pagers without focus-stealing checks.
constexpr std::uint32_t kSourcePager = 2;
constexpr std::uint32_t kStackAbove = 0;
constexpr std::uint32_t kInputHintFlag = 1;
constexpr std::uint32_t kLongTextWords = 1024;
// A host name has at most 64 bytes; a longer value names no machine of ours either.
constexpr std::uint32_t kMachineWords = 32;
// Layers as the rest of the system counts them: 0 for ordinary windows.
constexpr int kFloatingLayer = 3;
constexpr int kDockLayer = 20;

struct Pending {
    xcb_window_t window;
    xcb_get_property_cookie_t type, state, wmState, extents;
    xcb_get_geometry_cookie_t geometry;
    xcb_translate_coordinates_cookie_t origin;
    xcb_get_window_attributes_cookie_t attributes;
    // What the window says of itself, asked unless only its place is read.
    struct Description {
        xcb_get_property_cookie_t machine, netName, name, hints, allowed;
    };
    std::optional<Description> description;

    void discard(xcb_connection_t* c) const {
        for (const unsigned sequence : {type.sequence, state.sequence, wmState.sequence, extents.sequence,
                                        geometry.sequence, origin.sequence, attributes.sequence}) {
            xcb_discard_reply(c, sequence);
        }
        if (!description) return;
        for (const unsigned sequence :
             {description->machine.sequence, description->netName.sequence, description->name.sequence,
              description->hints.sequence, description->allowed.sequence}) {
            xcb_discard_reply(c, sequence);
        }
    }
};

// The process the X server saw connect as a client; none for a remote client.
std::optional<Pid> serverPid(xcb_connection_t* c, xcb_res_query_client_ids_cookie_t cookie) {
    const XcbReply<xcb_res_query_client_ids_reply_t> reply(xcb_res_query_client_ids_reply(c, cookie, nullptr));
    if (!reply) return std::nullopt;
    for (auto it = xcb_res_query_client_ids_ids_iterator(reply.get()); it.rem; xcb_res_client_id_value_next(&it)) {
        if ((it.data->spec.mask & XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID) == 0 || it.data->length < 4) continue;
        const std::uint32_t pid = *xcb_res_client_id_value_value(it.data);
        if (isProcessId(pid)) return Pid(pid);
    }
    return std::nullopt;
}

// This machine's name, as X clients give theirs (gethostname, uname).
std::string hostName() {
    utsname names{};
    return ::uname(&names) == 0 ? std::string(names.nodename) : std::string();
}

// Host names are the same whatever their case.
char folded(char c) {
    return char(std::tolower(static_cast<unsigned char>(c)));
}

// Whether WM_CLIENT_MACHINE names this machine; a window that names none is taken for one
// of this machine's.
bool isThisMachine(const std::optional<std::string>& machine, std::string_view host) {
    if (!machine) return true;
    return !host.empty() && std::ranges::equal(*machine, host, {}, folded, folded);
}

}  // namespace

Pid connectionOwner(xcb_window_t window, std::uint32_t resourceMask) {
    // Resource ids have 29 bits, so the key stays within Pid; the base's lowest bit is one
    // the mask holds, set so that no key is 0.
    return -Pid((window & ~resourceMask & 0x1FFFFFFFu) | 1u);
}

Pid machineOwner(Pid relay, std::string_view machine) {
    // FNV-1a over the machine's name and the relay's id: every reader of the table, on any
    // connection, finds the same key. Keys of connections stay below 2^29, these above.
    std::uint64_t hash = 14695981039346656037u;
    const auto mix = [&hash](unsigned char byte) { hash = (hash ^ byte) * 1099511628211u; };
    for (const char c : machine)
        mix(static_cast<unsigned char>(folded(c)));
    for (int shift = 0; shift < 32; shift += 8)
        mix(static_cast<unsigned char>(std::uint32_t(relay) >> shift));
    return -Pid(0x20000000u | (std::uint32_t(hash ^ (hash >> 32)) & 0x1FFFFFFFu));
}

int ClientFacts::layer() const {
    if (isDockOrDesktop && !isDesktop) return kDockLayer;
    return above ? kFloatingLayer : 0;
}

const ClientFacts* ClientTable::find(xcb_window_t window) const {
    for (const ClientFacts& facts : frontToBack) {
        if (facts.window == window) return &facts;
    }
    return nullptr;
}

const ClientFacts* ClientTable::mainWindowOf(Pid pid) const {
    for (const ClientFacts& facts : frontToBack) {
        if (facts.pid == pid && !facts.minimized && facts.isOrdinary && !facts.isDockOrDesktop) return &facts;
    }
    return nullptr;
}

void bringForward(xcb_connection_t* c, xcb_window_t root, const ClientFacts& window, xcb_atom_t activeWindow,
                  xcb_atom_t restackWindow, xcb_timestamp_t userTime) {
    if (window.acceptsFocus) {
        sendToWindowManager(c, root, window.window, activeWindow, {kSourcePager, userTime, XCB_WINDOW_NONE});
    } else {
        sendToWindowManager(c, root, window.window, restackWindow, {kSourcePager, XCB_WINDOW_NONE, kStackAbove});
    }
}

void showWindows(xcb_connection_t* c, xcb_window_t root, const ClientTable& table, Pid pid,
                 const std::vector<HiddenWindow>& hidden, xcb_atom_t activeWindow, xcb_atom_t restackWindow,
                 xcb_timestamp_t userTime) {
    const auto isOf = [](const ClientFacts* window, Pid owner) {
        return window && window->pid == owner && !window->isDockOrDesktop;
    };
    std::vector<const ClientFacts*> restore;
    for (const HiddenWindow& remembered : hidden) {
        if (const ClientFacts* window = table.find(remembered.window); isOf(window, remembered.pid))
            restore.push_back(window);
    }
    if (restore.empty()) {
        for (const ClientFacts& window : table.frontToBack) {
            if (isOf(&window, pid) && window.minimized) restore.push_back(&window);
        }
    }
    for (auto window = restore.rbegin(); window != restore.rend(); ++window)
        bringForward(c, root, **window, activeWindow, restackWindow, userTime);
    xcb_flush(c);
}

void minimize(xcb_connection_t* c, xcb_window_t root, const ClientFacts& window, xcb_atom_t changeState) {
    sendToWindowManager(c, root, window.window, changeState, {kIconicState, 0, 0, 0, 0});
}

void requestClose(xcb_connection_t* c, xcb_window_t root, const ClientFacts& window, xcb_atom_t closeWindow) {
    sendToWindowManager(c, root, window.window, closeWindow, {XCB_CURRENT_TIME, kSourcePager, 0, 0, 0});
}

X11ClientReader::X11ClientReader(XcbConnection& connection, Reading reading)
    : connection_(connection),
      placesOnly_(reading == Reading::places),
      resourceMask_(xcb_get_setup(connection.xcb())->resource_id_mask) {
    const XcbConnection& c = connection;
    atoms_ = {c.atom("_NET_CLIENT_LIST_STACKING"),
              c.atom("_NET_ACTIVE_WINDOW"),
              c.atom("_NET_WM_WINDOW_TYPE"),
              c.atom("_NET_WM_STATE"),
              c.atom("WM_STATE"),
              c.atom("_NET_WM_NAME"),
              c.atom("UTF8_STRING"),
              c.atom("_NET_FRAME_EXTENTS"),
              XCB_ATOM_WM_HINTS,
              c.atom("_NET_WM_ALLOWED_ACTIONS"),
              c.atom("_NET_WM_STATE_HIDDEN"),
              c.atom("_NET_WM_STATE_FULLSCREEN"),
              c.atom("_NET_WM_STATE_ABOVE"),
              c.atom("_NET_WM_WINDOW_TYPE_DOCK"),
              c.atom("_NET_WM_WINDOW_TYPE_DESKTOP"),
              c.atom("_NET_WM_WINDOW_TYPE_NORMAL"),
              c.atom("_NET_WM_WINDOW_TYPE_DIALOG"),
              c.atom("_NET_WM_WINDOW_TYPE_UTILITY"),
              c.atom("_NET_WM_ACTION_CLOSE")};
    xcb_connection_t* x = connection.xcb();
    const xcb_query_extension_reply_t* res = xcb_get_extension_data(x, &xcb_res_id);
    if (res && res->present) {
        const XcbReply<xcb_res_query_version_reply_t> version(
            xcb_res_query_version_reply(x, xcb_res_query_version(x, 1, 2), nullptr));
        hasResourceExtension_ = version && (version->server_major > 1 || version->server_minor >= 2);
    }
}

std::vector<ListedWindow> onScreenList(const ClientTable& table) {
    std::vector<ListedWindow> windows;
    windows.reserve(table.frontToBack.size());
    for (const ClientFacts& client : table.frontToBack) {
        if (!client.viewable || client.minimized || client.isDesktop) continue;
        windows.push_back({client.window, client.layer(), client.frame});
    }
    return windows;
}

StaleClients::StaleClients(const XcbConnection& connection)
    : root_(connection.root()),
      rootListing_{connection.atom("_NET_CLIENT_LIST_STACKING"), connection.atom("_NET_CLIENT_LIST"),
                   connection.atom("_NET_ACTIVE_WINDOW")} {}

void StaleClients::note(const std::vector<XcbReply<xcb_generic_event_t>>& reports) {
    for (const auto& report : reports) {
        switch (report->response_type & 0x7F) {
            case 0:
                // An error of a request of ours about a window that went meanwhile.
                break;
            case XCB_PROPERTY_NOTIFY: {
                const auto& property = reinterpret_cast<const xcb_property_notify_event_t&>(*report);
                // Anything else of the root's (the desktop shown, say) may change any window.
                if (property.window != root_) {
                    windows_.insert(property.window);
                } else if (std::ranges::find(rootListing_, property.atom) == rootListing_.end()) {
                    everyWindow_ = true;
                }
                break;
            }
            case XCB_CREATE_NOTIFY:
                // A window shows in the lists, which are reported, only once it is mapped.
                break;
            case XCB_CONFIGURE_NOTIFY:
            case XCB_CIRCULATE_NOTIFY:
            case XCB_MAP_NOTIFY:
            case XCB_UNMAP_NOTIFY:
            case XCB_DESTROY_NOTIFY:
            case XCB_REPARENT_NOTIFY:
            case XCB_GRAVITY_NOTIFY:
                // All start with the window reporting, then the one that changed.
                windows_.insert(reinterpret_cast<const xcb_unmap_notify_event_t&>(*report).window);
                break;
            default:
                everyWindow_ = true;
                break;
        }
    }
}

std::optional<KnownClients> StaleClients::since(const ClientTable& last, const DesktopSpace& space) const {
    if (everyWindow_ || space != space_) return std::nullopt;
    return KnownClients{last, windows_};
}

void StaleClients::read(const DesktopSpace& space) {
    windows_.clear();
    everyWindow_ = false;
    space_ = space;
}

Pid X11ClientReader::owner(xcb_window_t window, std::optional<Pid> client, const std::optional<std::string>& machine,
                           std::string_view host) const {
    if (!client) return connectionOwner(window, resourceMask_);
    return isThisMachine(machine, host) ? *client : machineOwner(*client, *machine);
}

std::optional<ClientTable> X11ClientReader::read(const DesktopSpace& space, XcbConnection::Deadline deadline,
                                                 std::optional<KnownClients> known, std::uint32_t follow) const {
    xcb_connection_t* c = connection_.xcb();
    const xcb_window_t root = connection_.root();
    const auto stackingCookie = xcb_get_property(c, 0, root, atoms_.stacking, XCB_ATOM_WINDOW, 0, 4096);
    const auto activeCookie = xcb_get_property(c, 0, root, atoms_.active, XCB_ATOM_WINDOW, 0, 1);
    if (!connection_.sync(deadline)) {
        xcb_discard_reply(c, stackingCookie.sequence);
        xcb_discard_reply(c, activeCookie.sequence);
        return std::nullopt;
    }
    const XcbReply<xcb_get_property_reply_t> stackingReply(xcb_get_property_reply(c, stackingCookie, nullptr));
    const auto active = propertyItems(c, activeCookie);
    if (!stackingReply || stackingReply->type == XCB_ATOM_NONE || stackingReply->format != 32) return std::nullopt;
    const auto* stackingItems = static_cast<const xcb_window_t*>(xcb_get_property_value(stackingReply.get()));
    const int count = xcb_get_property_value_length(stackingReply.get()) / 4;

    // Front to back: each listed window's facts as known, or the requests that read them.
    std::vector<std::variant<const ClientFacts*, Pending>> listed;
    listed.reserve(std::size_t(count));
    // The process of each client whose windows are read, asked once per client where the server
    // has the X-Resource extension: a client's windows share the bits of its resource base.
    std::map<std::uint32_t, xcb_res_query_client_ids_cookie_t> clients;
    for (int i = count - 1; i >= 0; --i) {
        const xcb_window_t w = stackingItems[i];
        if (known && !known->stale.contains(w)) {
            if (const ClientFacts* facts = known->table.find(w)) {
                listed.emplace_back(facts);
                continue;
            }
        }
        // The list may name a window that went (one of ours, even, as fluxbox lists it after
        // Qt destroyed it): such a window is left out below.
        if (follow != XCB_EVENT_MASK_NO_EVENT) selectEventsOfPassingWindow(c, w, follow);
        const auto property = [&](xcb_atom_t name, xcb_atom_t type, std::uint32_t words) {
            return xcb_get_property(c, 0, w, name, type, 0, words);
        };
        Pending& pending = std::get<Pending>(listed.emplace_back(
            Pending{w, property(atoms_.type, XCB_ATOM_ATOM, 32), property(atoms_.state, XCB_ATOM_ATOM, 32),
                    property(atoms_.wmState, atoms_.wmState, 2), property(atoms_.extents, XCB_ATOM_CARDINAL, 4),
                    xcb_get_geometry(c, w), xcb_translate_coordinates(c, w, root, 0, 0),
                    xcb_get_window_attributes(c, w), std::nullopt}));
        if (placesOnly_) continue;
        pending.description =
            Pending::Description{property(XCB_ATOM_WM_CLIENT_MACHINE, XCB_GET_PROPERTY_TYPE_ANY, kMachineWords),
                                 property(atoms_.name, atoms_.utf8, kLongTextWords),
                                 property(XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, kLongTextWords),
                                 property(atoms_.hints, atoms_.hints, 9), property(atoms_.allowed, XCB_ATOM_ATOM, 32)};
        if (hasResourceExtension_ && !clients.contains(w & ~resourceMask_)) {
            const xcb_res_client_id_spec_t spec{w, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
            clients.emplace(w & ~resourceMask_, xcb_res_query_client_ids(c, 1, &spec));
        }
    }
    const auto asked = [](const auto& one) { return std::holds_alternative<Pending>(one); };
    if (std::ranges::any_of(listed, asked) && !connection_.sync(deadline)) {
        for (const auto& one : listed) {
            if (const auto* p = std::get_if<Pending>(&one)) p->discard(c);
        }
        for (const auto& [base, cookie] : clients)
            xcb_discard_reply(c, cookie.sequence);
        return std::nullopt;
    }
    std::map<std::uint32_t, std::optional<Pid>> clientPids;
    for (const auto& [base, cookie] : clients)
        clientPids.emplace(base, serverPid(c, cookie));

    const std::string host = hostName();
    ClientTable table;
    table.active = active.empty() ? xcb_window_t(XCB_WINDOW_NONE) : active.front();
    table.frontToBack.reserve(listed.size());
    for (const auto& one : listed) {
        if (const auto* knownFacts = std::get_if<const ClientFacts*>(&one)) {
            table.frontToBack.push_back(**knownFacts);
            continue;
        }
        const Pending& p = std::get<Pending>(one);
        ClientFacts facts;
        facts.window = p.window;
        if (const auto& d = p.description) {
            const auto server = clientPids.find(p.window & ~resourceMask_);
            facts.pid = owner(p.window, server == clientPids.end() ? std::nullopt : server->second,
                              propertyText(c, d->machine, atoms_.utf8), host);
            facts.title = propertyText(c, d->netName, atoms_.utf8);
            auto legacyTitle = propertyText(c, d->name, atoms_.utf8);
            if (!facts.title) facts.title = std::move(legacyTitle);
            const auto hints = propertyItems(c, d->hints);
            facts.acceptsFocus = hints.size() < 2 || (hints[0] & kInputHintFlag) == 0 || hints[1] != 0;
            const auto allowed = propertyItems(c, d->allowed);
            facts.closable = allowed.empty() || holds(allowed, atoms_.close);
        }
        const auto type = propertyItems(c, p.type);
        facts.isDesktop = holds(type, atoms_.desktop);
        facts.isDockOrDesktop = holds(type, atoms_.dock) || facts.isDesktop;
        facts.isOrdinary =
            type.empty() || holds(type, atoms_.normal) || holds(type, atoms_.dialog) || holds(type, atoms_.utility);
        const auto state = propertyItems(c, p.state);
        const auto wmState = propertyItems(c, p.wmState);
        facts.minimized = holds(state, atoms_.hidden) || (!wmState.empty() && wmState.front() == kIconicState);
        facts.fullScreen = holds(state, atoms_.fullScreen);
        facts.above = holds(state, atoms_.above);
        facts.extents = FrameExtents::from(propertyItems(c, p.extents));
        const XcbReply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, p.geometry, nullptr));
        const XcbReply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(c, p.origin, nullptr));
        const XcbReply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(c, p.attributes, nullptr));
        // A window that went away since the list was read is left out.
        if (!geometry || !origin || !attributes) continue;
        facts.viewable = attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        const RectTL client{double(origin->dst_x), double(origin->dst_y), double(geometry->width),
                            double(geometry->height)};
        facts.frame = space.toGlobal(outerFrame(client, facts.extents));
        table.frontToBack.push_back(std::move(facts));
    }
    return table;
}

}  // namespace quillbern
