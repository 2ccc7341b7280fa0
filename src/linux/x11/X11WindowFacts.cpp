#include "linux/x11/X11WindowFacts.h"

#include <map>
#include <tuple>

#include "linux/x11/X11ClientTable.h"

namespace quillbern {

namespace {

constexpr std::uint32_t kTextWords = 256;

struct Pending {
    xcb_get_property_cookie_t applicationId, desktopFile, wmClass;
};

}  // namespace

std::pair<std::optional<std::string>, std::optional<std::string>> wmClassParts(std::string_view text) {
    const auto part = [&text]() -> std::optional<std::string> {
        const auto end = text.find('\0');
        const std::string_view found = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        return found.empty() ? std::nullopt : std::optional<std::string>(found);
    };
    auto instance = part();
    return {std::move(instance), part()};
}

std::vector<WindowFacts> readWindowFacts(XcbConnection& connection, const std::vector<const ClientFacts*>& windows,
                                         XcbConnection::Deadline deadline) {
    xcb_connection_t* c = connection.xcb();
    const xcb_atom_t applicationId = connection.atom("_GTK_APPLICATION_ID");
    const xcb_atom_t desktopFile = connection.atom("_KDE_NET_WM_DESKTOP_FILE");
    const xcb_atom_t utf8 = connection.atom("UTF8_STRING");
    std::vector<Pending> pending;
    pending.reserve(windows.size());
    for (const ClientFacts* window : windows) {
        const auto text = [&](xcb_atom_t name) {
            return xcb_get_property(c, 0, window->window, name, XCB_GET_PROPERTY_TYPE_ANY, 0, kTextWords);
        };
        pending.push_back({text(applicationId), text(desktopFile), text(XCB_ATOM_WM_CLASS)});
    }
    const bool answered = connection.sync(deadline);

    std::vector<WindowFacts> facts(windows.size());
    std::map<Pid, std::optional<ProcessFacts>> processes;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        WindowFacts& window = facts[i];
        window.pid = windows[i]->pid;
        if (window.pid && isProcessOwner(*window.pid)) {
            auto [process, added] = processes.try_emplace(*window.pid);
            if (added) process->second = readProcessFacts(*window.pid);
            if (process->second) {
                window.executable = process->second->executable;
                window.origin = process->second->origin;
            }
        }
        const Pending& p = pending[i];
        if (!answered) {
            for (const auto& cookie : {p.applicationId, p.desktopFile, p.wmClass})
                xcb_discard_reply(c, cookie.sequence);
            continue;
        }
        window.applicationId = propertyText(c, p.applicationId, utf8);
        window.desktopFile = propertyText(c, p.desktopFile, utf8);
        if (const auto wmClass = propertyText(c, p.wmClass, utf8)) {
            std::tie(window.wmClassInstance, window.wmClassClass) = wmClassParts(*wmClass);
        }
    }
    return facts;
}

}  // namespace quillbern
