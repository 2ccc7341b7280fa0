#include "linux/x11/WindowBirths.h"

#include <algorithm>
#include <chrono>

#include "linux/process/ProcessStat.h"

namespace quillbern {

namespace {

constexpr auto kLivingLimit = std::chrono::seconds(2);

}  // namespace

WindowBirths::WindowBirths(std::uint64_t since) : since_(since) {}

void WindowBirths::note(const std::vector<XcbReply<xcb_generic_event_t>>& reports, XcbConnection& connection) {
    const xcb_window_t root = connection.root();
    std::uint64_t now = 0;
    for (const auto& report : reports) {
        switch (report->response_type & 0x7F) {
            case XCB_CREATE_NOTIFY: {
                const auto& created = reinterpret_cast<const xcb_create_notify_event_t&>(*report);
                if (created.parent != root) break;
                if (now == 0) now = bootTicksNow();
                births_.insert_or_assign(created.window, now);
                break;
            }
            case XCB_DESTROY_NOTIFY: {
                const auto& destroyed = reinterpret_cast<const xcb_destroy_notify_event_t&>(*report);
                if (destroyed.event == root) births_.erase(destroyed.window);
                break;
            }
            default:
                break;
        }
    }
    if (births_.size() > kMostKept) forgetSome(connection);
}

bool WindowBirths::startedBefore(std::uint64_t startTicks, xcb_window_t window) const {
    const auto born = births_.find(window);
    return startTicks <= (born == births_.end() ? since_ : born->second);
}

void WindowBirths::forgetSome(XcbConnection& connection) {
    xcb_connection_t* c = connection.xcb();
    std::vector<std::pair<xcb_window_t, xcb_get_window_attributes_cookie_t>> asked;
    asked.reserve(births_.size());
    for (const auto& [window, born] : births_)
        asked.emplace_back(window, xcb_get_window_attributes(c, window));
    const bool answered = connection.sync(std::chrono::steady_clock::now() + kLivingLimit);
    for (const auto& [window, cookie] : asked) {
        if (!answered) {
            xcb_discard_reply(c, cookie.sequence);
            continue;
        }
        xcb_generic_error_t* error = nullptr;
        const XcbReply<xcb_get_window_attributes_reply_t> living(xcb_get_window_attributes_reply(c, cookie, &error));
        // Only a window the server no longer knows is gone; without an answer each is kept.
        if (!living && error && error->error_code == XCB_WINDOW) births_.erase(window);
        std::free(error);
    }
    if (births_.size() <= kMostKept / 2) return;
    // A window no longer noted counts as born when the looking began, before its real birth:
    // a process that started since is then not its, never one that took an id.
    std::vector<std::pair<std::uint64_t, xcb_window_t>> byAge;
    byAge.reserve(births_.size());
    for (const auto& [window, born] : births_)
        byAge.emplace_back(born, window);
    std::ranges::sort(byAge);
    for (std::size_t i = 0; i < byAge.size() - kMostKept / 2; ++i)
        births_.erase(byAge[i].second);
}

}  // namespace quillbern
