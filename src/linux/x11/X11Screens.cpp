#include "linux/x11/X11Screens.h"

#include <algorithm>
#include <xcb/randr.h>

#include "core/foundation/Log.h"
#include "core/platform/DisplayIdentity.h"
#include "linux/x11/Strut.h"
#include "linux/x11/X11Connection.h"

namespace quillbern {

namespace {

// Bursts of RandR and property events of one change come within a few milliseconds.
constexpr Duration kCoalesceDelay = 0.05;

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

}  // namespace

X11Screens::X11Screens(X11Connection& connection, RunLoop& mainLoop) : connection_(connection), loop_(mainLoop) {
    xcb_connection_t* c = connection_.xcb();
    if (const xcb_query_extension_reply_t* randr = xcb_get_extension_data(c, &xcb_randr_id); randr && randr->present) {
        randrFirstEvent_ = randr->first_event;
        xcb_randr_select_input(c, connection_.root(),
                               XCB_RANDR_NOTIFY_MASK_SCREEN_CHANGE | XCB_RANDR_NOTIFY_MASK_OUTPUT_CHANGE |
                                   XCB_RANDR_NOTIFY_MASK_CRTC_CHANGE | XCB_RANDR_NOTIFY_MASK_OUTPUT_PROPERTY);
    } else {
        log("the X server has no RandR: one display without identity");
    }
    // The window manager rewrites the work area whenever a client's struts change.
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c, connection_.root(), XCB_CW_EVENT_MASK, &mask);
    const xcb_atom_t workArea = connection_.atom("_NET_WORKAREA");
    const xcb_atom_t clientList = connection_.atom("_NET_CLIENT_LIST");
    events_ = connection_.onEvent([this, workArea, clientList](const xcb_generic_event_t& event) {
        const std::uint8_t type = event.response_type & 0x7F;
        if (type == XCB_PROPERTY_NOTIFY) {
            const auto& property = reinterpret_cast<const xcb_property_notify_event_t&>(event);
            if (property.window == connection_.root() && (property.atom == workArea || property.atom == clientList)) {
                scheduleRefresh();
            }
        } else if (randrFirstEvent_ != 0 && (type == randrFirstEvent_ + XCB_RANDR_SCREEN_CHANGE_NOTIFY ||
                                             type == randrFirstEvent_ + XCB_RANDR_NOTIFY)) {
            scheduleRefresh();
        }
    });
    xcb_flush(c);
    layout_ = read();
}

X11Screens::~X11Screens() = default;

std::vector<ScreenInfo> X11Screens::screens() const {
    std::lock_guard lock(mutex_);
    return layout_.screens;
}

DesktopSpace X11Screens::desktopSpace() const {
    std::lock_guard lock(mutex_);
    return layout_.space;
}

Subscription X11Screens::onChanged(Task task) {
    return changed_.connect(std::move(task));
}

void X11Screens::scheduleRefresh() {
    if (pendingRefresh_.isPending()) return;
    pendingRefresh_ = loop_.after(kCoalesceDelay, [this] { refresh(); });
}

void X11Screens::refresh() {
    Layout fresh = read();
    {
        std::lock_guard lock(mutex_);
        if (fresh == layout_) return;
        layout_ = std::move(fresh);
    }
    changed_.emit();
}

X11Screens::Layout X11Screens::read() const {
    xcb_connection_t* c = connection_.xcb();
    const xcb_window_t root = connection_.root();
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
        const xcb_atom_t edidAtom = connection_.atom("EDID");
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

    std::vector<Strut> struts;
    if (const auto clients = connection_.cardinals(root, connection_.atom("_NET_CLIENT_LIST"))) {
        // Send every request before waiting for the first reply: one round trip in all.
        const xcb_atom_t partial = connection_.atom("_NET_WM_STRUT_PARTIAL");
        const xcb_atom_t full = connection_.atom("_NET_WM_STRUT");
        std::vector<std::pair<xcb_get_property_cookie_t, xcb_get_property_cookie_t>> cookies;
        for (const std::uint32_t window : *clients) {
            cookies.emplace_back(xcb_get_property(c, 0, window, partial, XCB_ATOM_CARDINAL, 0, 12),
                                 xcb_get_property(c, 0, window, full, XCB_ATOM_CARDINAL, 0, 4));
        }
        const auto values = [c](xcb_get_property_cookie_t cookie) {
            const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, nullptr));
            std::vector<std::uint32_t> result;
            if (reply && reply->format == 32) {
                const auto* items = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
                result.assign(items, items + xcb_get_property_value_length(reply.get()) / 4);
            }
            return result;
        };
        for (const auto& [partialCookie, fullCookie] : cookies) {
            std::optional<Strut> strut = Strut::fromPartial(values(partialCookie));
            const std::vector<std::uint32_t> older = values(fullCookie);
            if (!strut) strut = Strut::fromFull(older, rootSize);
            if (strut) struts.push_back(*strut);
        }
    }

    std::vector<DisplayIdentitySource> identities;
    for (const Monitor& m : monitors)
        identities.push_back(m.identity);
    const std::vector<std::string> stableIds = stableDisplayIds(identities);

    Layout layout;
    layout.space = DesktopSpace(monitors.front().rect);
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const Monitor& m = monitors[i];
        ScreenInfo info;
        info.id = m.id;
        if (m.id) info.stableId = stableIds[i];
        info.name = m.name;
        info.frame = layout.space.toScreen(m.rect);
        info.visibleFrame = layout.space.toScreen(visibleArea(m.rect, rootSize, struts));
        info.scale = 1;
        layout.screens.push_back(std::move(info));
    }
    connection_.drainSoon();
    return layout;
}

}  // namespace quillbern
