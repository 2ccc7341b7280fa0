#include "ui/foundation/PresentQueue.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <xcb/present.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include "ui/foundation/QtX11.h"

namespace quillbern {

namespace {

// Frames between the first answer and one the pace is taken from: a server without a display
// may tell a time up to a frame after the frame began.
constexpr std::uint64_t kLearnedOver = 12;
// Once the pace is known, the counter is asked again now and then, each answer waking Qt's
// reader of the connection.
constexpr Duration kAskedAgainAfter = 1.0;
// How far the server's time of an answer may stand from ours when it is read.
constexpr Duration kLatestWord = 1.0;

struct Support {
    xcb_connection_t* connection = nullptr;
    std::optional<unsigned> askedExtension;
    std::optional<unsigned> askedVersion;
    std::optional<bool> answer;
};

}  // namespace

bool PresentQueue::isAvailable(xcb_connection_t* c) {
    static Support support;
    if (support.connection != c) {
        support = Support{};
        support.connection = c;
    }
    if (support.answer) return *support.answer;
    if (!support.askedExtension && !support.askedVersion) {
        // xcb asks for an extension's opcode before its first request and waits for it: the
        // answer is asked for first, and our own question after it tells when it came.
        xcb_prefetch_extension_data(c, &xcb_present_id);
        support.askedExtension = xcb_query_extension(c, std::strlen(xcb_present_id.name), xcb_present_id.name).sequence;
        xcb_flush(c);
        return false;
    }
    if (support.askedExtension) {
        const std::optional<XcbReply<void>> reply = polledReply(c, *support.askedExtension);
        if (!reply) return false;
        support.askedExtension.reset();
        const auto* extension = static_cast<const xcb_query_extension_reply_t*>(reply->get());
        if (!extension || !extension->present) return *(support.answer = false);
        support.askedVersion =
            xcb_present_query_version(c, XCB_PRESENT_MAJOR_VERSION, XCB_PRESENT_MINOR_VERSION).sequence;
        xcb_flush(c);
        return false;
    }
    const std::optional<XcbReply<void>> reply = polledReply(c, *support.askedVersion);
    if (!reply) return false;
    support.askedVersion.reset();
    return *(support.answer = *reply != nullptr);
}

PresentQueue::PresentQueue(xcb_connection_t* c, std::uint32_t parent)
    : connection_(c),
      parent_(parent),
      events_(xcb_generate_id(c)),
      answers_(xcb_register_for_special_xge(c, &xcb_present_id, events_, nullptr)) {
    // Only the answers to our questions: frames shown are not told.
    xcb_present_select_input(c, events_, parent, XCB_PRESENT_EVENT_MASK_COMPLETE_NOTIFY);
}

PresentQueue::~PresentQueue() {
    xcb_connection_t* c = connection_;
    if (!parentGone_ && !xcb_connection_has_error(c)) {
        xcb_present_select_input(c, events_, parent_, 0);
        if (window_) xcb_destroy_window(c, window_);
    }
    // Answers on their way after this go to Qt, which passes over them.
    xcb_unregister_for_special_event(c, answers_);
}

void PresentQueue::learn(MediaTime now) {
    while (xcb_generic_event_t* event = xcb_poll_for_special_event(connection_, answers_)) {
        const auto* answer = reinterpret_cast<const xcb_present_complete_notify_event_t*>(event);
        if (answer->event_type == XCB_PRESENT_COMPLETE_NOTIFY && answer->kind == XCB_PRESENT_COMPLETE_KIND_NOTIFY_MSC) {
            asking_ = false;
            const Shown shown{answer->msc, MediaTime{static_cast<double>(answer->ust) / 1e6}};
            if (now - shown.at < -kLatestWord || now - shown.at > kLatestWord) unmatched_ = true;
            if (!first_) first_ = shown;
            last_ = shown;
            if (shown.frame >= first_->frame + kLearnedOver)
                pace_ = (shown.at - first_->at) / static_cast<double>(shown.frame - first_->frame);
        }
        std::free(event);
    }
    if (asking_ || unmatched_ || (pace_ && now - last_->at < kAskedAgainAfter)) return;
    // The frame it stands at, told at once.
    xcb_present_notify_msc(connection_, parent_, ++serial_, 0, 0, 0);
    asking_ = true;
}

std::uint64_t PresentQueue::frameAt(MediaTime time) const {
    const double since = std::floor((time - last_->at) / *pace_);
    return since < 0 ? last_->frame : last_->frame + static_cast<std::uint64_t>(since);
}

std::uint64_t PresentQueue::nearestFrame(MediaTime time) const {
    return frameAt(time + *pace_ / 2);
}

MediaTime PresentQueue::timeOf(std::uint64_t frame) const {
    return last_->at + (static_cast<double>(frame) - static_cast<double>(last_->frame)) * *pace_;
}

void PresentQueue::open(const QRect& pixels) {
    xcb_connection_t* c = connection_;
    window_ = xcb_generate_id(c);
    pixels_ = pixels;
    // Of the parent's depth and visual, showing the parent's pixels until a picture comes.
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window_, parent_, static_cast<std::int16_t>(pixels.x()),
                      static_cast<std::int16_t>(pixels.y()), static_cast<std::uint16_t>(pixels.width()),
                      static_cast<std::uint16_t>(pixels.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_map_window(c, window_);
}

void PresentQueue::showAt(std::uint32_t pixmap, std::uint64_t frame) {
    xcb_present_pixmap(connection_, window_, pixmap, ++serial_, 0, 0, 0, 0, 0, 0, 0, XCB_PRESENT_OPTION_COPY, frame, 0,
                       0, 0, nullptr);
}

}  // namespace quillbern
