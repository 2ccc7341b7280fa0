#include "linux/x11/X11HotKeys.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "core/foundation/Log.h"
#include "core/model/HotKeyChord.h"
#include "linux/x11/KeyCodeTable.h"
#include "linux/x11/X11Connection.h"
#include "linux/x11/X11UserTime.h"
#include "linux/x11/XcbConnection.h"
#include "linux/x11/XcbXkb.h"

namespace quillbern {

namespace {

constexpr std::uint8_t kBadAccess = 10;
constexpr std::uint16_t kModifierBits = 0xFF;
// The server answers at once unless something holds it, such as another client's grab of
// the whole server: the main thread waits only this long.
constexpr auto kAnswerLimit = std::chrono::seconds(2);

XcbConnection::Deadline answerDeadline() {
    return std::chrono::steady_clock::now() + kAnswerLimit;
}

class X11Grab final : public HotKeyGrab {
public:
    X11Grab(LifetimeToken owner, std::function<void()> release)
        : owner_(std::move(owner)), release_(std::move(release)) {}
    ~X11Grab() override {
        if (owner_.isAlive()) release_();
    }

private:
    LifetimeToken owner_;
    std::function<void()> release_;
};

// Command is Super, Option is Alt; none when the keyboard lacks a modifier the chord needs.
std::optional<std::uint16_t> xModifiers(std::uint32_t modifiers, const X11KeyboardLayout::ModifierMasks& masks) {
    std::uint16_t x = 0;
    if (modifiers & HotKeyChord::kShift) x |= XCB_MOD_MASK_SHIFT;
    if (modifiers & HotKeyChord::kControl) x |= XCB_MOD_MASK_CONTROL;
    if (modifiers & HotKeyChord::kOption) {
        if (!masks.alt) return std::nullopt;
        x |= masks.alt;
    }
    if (modifiers & HotKeyChord::kCommand) {
        if (!masks.super) return std::nullopt;
        x |= masks.super;
    }
    return x;
}

std::string describe(KeyCode keyCode, std::uint32_t modifiers) {
    return "key code " + std::to_string(keyCode) + ", modifiers " + std::to_string(modifiers);
}

}  // namespace

X11HotKeys::X11HotKeys(X11Connection& connection, X11KeyboardLayout& keyboard, X11UserTime& userTime)
    : connection_(connection), keyboard_(keyboard), userTime_(userTime), masks_(keyboard.modifierMasks()) {
    xcb_connection_t* c = connection_.xcb();
    constexpr std::uint32_t kDetectable = XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT;
    // A request of a missing extension would close the connection.
    const xcb_query_extension_reply_t* xkb = xcb_get_extension_data(c, &xcb_xkb_id);
    XcbReply<xcb_xkb_per_client_flags_reply_t> flags;
    if (xkb && xkb->present) {
        const xcb_xkb_per_client_flags_cookie_t cookie =
            xcb_xkb_per_client_flags(c, XCB_XKB_ID_USE_CORE_KBD, kDetectable, kDetectable, 0, 0, 0);
        if (connection_.connection().sync(answerDeadline()))
            flags.reset(xcb_xkb_per_client_flags_reply(c, cookie, nullptr));
        else
            xcb_discard_reply(c, cookie.sequence);
    }
    connection_.drainSoon();
    if (!flags || !(flags->value & kDetectable))
        log("the X server cannot tell a held key from repeated presses: holding a global shortcut may repeat it");
    events_ = connection_.onEvent([this](const xcb_generic_event_t& event) { handle(event); });
    mappingChanged_ = keyboard_.onMappingChanged([this] {
        if (keyboard_.modifierMasks() != masks_) regrabAll();
    });
}

X11HotKeys::~X11HotKeys() {
    for (auto& [serial, entry] : entries_)
        ungrabKey(entry);
}

int X11HotKeys::setHandler(std::function<void(const HotKeyEvent&)> handler) {
    if (const int error = xcb_connection_has_error(connection_.xcb())) return error;
    handler_ = std::move(handler);
    return 0;
}

void X11HotKeys::clearHandler() {
    handler_ = nullptr;
}

HotKeyRegistration X11HotKeys::grab(KeyCode keyCode, std::uint32_t modifiers, std::uint32_t id) {
    Entry entry{keyCode, modifiers, id};
    const HotKeyRegistration::Status status = grabKey(entry);
    if (status != HotKeyRegistration::Status::grabbed) return {status, nullptr};
    // While suspended the grab only tells whether the chord is free.
    if (suspended_) ungrabKey(entry);
    const std::uint64_t serial = nextSerial_++;
    entries_.emplace(serial, entry);
    return {status, std::make_unique<X11Grab>(lifetime_.token(), [this, serial] { release(serial); })};
}

void X11HotKeys::release(std::uint64_t serial) {
    const auto found = entries_.find(serial);
    if (found == entries_.end()) return;
    Entry entry = found->second;
    entries_.erase(found);
    ungrabKey(entry);
}

void X11HotKeys::setSuspended(bool suspended) {
    if (suspended == suspended_) return;
    suspended_ = suspended;
    if (suspended) {
        for (auto& [serial, entry] : entries_)
            ungrabKey(entry);
        return;
    }
    masks_ = keyboard_.modifierMasks();
    for (auto& [serial, entry] : entries_) {
        if (grabKey(entry) != HotKeyRegistration::Status::grabbed)
            log("a global shortcut (", describe(entry.keyCode, entry.modifiers),
                ") was taken by another application while shortcuts were paused");
    }
}

void X11HotKeys::regrabAll() {
    if (!suspended_) {
        for (auto& [serial, entry] : entries_)
            ungrabKey(entry);
    }
    masks_ = keyboard_.modifierMasks();
    if (suspended_) return;
    for (auto& [serial, entry] : entries_) {
        if (grabKey(entry) != HotKeyRegistration::Status::grabbed)
            log("a global shortcut (", describe(entry.keyCode, entry.modifiers),
                ") no longer works after the keyboard's modifiers changed");
    }
}

std::vector<std::uint16_t> X11HotKeys::lockVariants() const {
    if (!masks_.numLock) return {0, XCB_MOD_MASK_LOCK};
    return {0, XCB_MOD_MASK_LOCK, masks_.numLock, static_cast<std::uint16_t>(XCB_MOD_MASK_LOCK | masks_.numLock)};
}

HotKeyRegistration::Status X11HotKeys::grabKey(Entry& entry) {
    const std::optional<std::uint8_t> keycode = xKeycodeForKey(entry.keyCode);
    const std::optional<std::uint16_t> modifiers = xModifiers(entry.modifiers, masks_);
    if (!keycode || !modifiers) return HotKeyRegistration::Status::unavailable;
    entry.xKeycode = *keycode;
    entry.xModifiers = *modifiers;

    xcb_connection_t* c = connection_.xcb();
    const std::vector<std::uint16_t> variants = lockVariants();
    std::vector<xcb_void_cookie_t> cookies;
    for (const std::uint16_t lock : variants) {
        cookies.push_back(xcb_grab_key_checked(c, 0, connection_.root(), entry.xModifiers | lock, entry.xKeycode,
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    // Once the server has answered them all, checking each one does not wait.
    if (!connection_.connection().sync(answerDeadline())) {
        connection_.drainSoon();
        for (const xcb_void_cookie_t cookie : cookies)
            xcb_discard_reply(c, cookie.sequence);
        // The grabs still stand in the server's queue: their release follows them.
        if (!heldByAnother(entry)) {
            for (const std::uint16_t lock : variants)
                xcb_ungrab_key(c, entry.xKeycode, connection_.root(), entry.xModifiers | lock);
        }
        xcb_flush(c);
        return HotKeyRegistration::Status::unanswered;
    }
    bool taken = false;
    bool failed = false;
    std::vector<std::uint16_t> grabbed;
    for (std::size_t i = 0; i < cookies.size(); ++i) {
        if (xcb_generic_error_t* error = xcb_request_check(c, cookies[i])) {
            taken = taken || error->error_code == kBadAccess;
            failed = true;
            std::free(error);
        } else {
            grabbed.push_back(variants[i]);
        }
    }
    connection_.drainSoon();
    if (failed) {
        // All or nothing: the variants that did succeed go back.
        for (const std::uint16_t lock : grabbed)
            xcb_ungrab_key(c, entry.xKeycode, connection_.root(), entry.xModifiers | lock);
        xcb_flush(c);
        return taken ? HotKeyRegistration::Status::taken : HotKeyRegistration::Status::unavailable;
    }
    entry.grabbed = true;
    entry.down = false;
    return HotKeyRegistration::Status::grabbed;
}

void X11HotKeys::ungrabKey(Entry& entry) {
    if (!entry.grabbed) return;
    entry.grabbed = false;
    entry.down = false;
    if (heldByAnother(entry)) return;
    xcb_connection_t* c = connection_.xcb();
    for (const std::uint16_t lock : lockVariants())
        xcb_ungrab_key(c, entry.xKeycode, connection_.root(), entry.xModifiers | lock);
    xcb_flush(c);
}

bool X11HotKeys::heldByAnother(const Entry& entry) const {
    // Grabs belong to the client, not to the entry: another entry may hold the same chord.
    return std::ranges::any_of(entries_, [&entry](const auto& item) {
        const Entry& other = item.second;
        return &other != &entry && other.grabbed && other.xKeycode == entry.xKeycode &&
               other.xModifiers == entry.xModifiers;
    });
}

void X11HotKeys::handle(const xcb_generic_event_t& event) {
    const std::uint8_t type = event.response_type & 0x7F;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) return;
    const auto& key = reinterpret_cast<const xcb_key_press_event_t&>(event);
    const bool pressed = type == XCB_KEY_PRESS;
    const auto state = static_cast<std::uint16_t>(key.state & kModifierBits & ~XCB_MOD_MASK_LOCK & ~masks_.numLock);
    for (auto& [serial, entry] : entries_) {
        if (!entry.grabbed || entry.xKeycode != key.detail) continue;
        // A release matches its press whatever was let go first; a press while down repeats.
        if (pressed ? (entry.down || entry.xModifiers != state) : !entry.down) continue;
        entry.down = pressed;
        userTime_.note(key.time);
        const HotKeyEvent hotKey{pressed, entry.id};
        // Copies: what the handler does may replace it or release this grab.
        if (const auto handler = handler_) handler(hotKey);
        return;
    }
}

}  // namespace quillbern
