#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <vector>
#include <xcb/xcb.h>

#include "core/foundation/Lifetime.h"
#include "core/foundation/Signal.h"
#include "core/platform/HotKeys.h"
#include "linux/x11/X11KeyboardLayout.h"

namespace quillbern {

class X11Connection;
class X11UserTime;

// Global chords as passive key grabs on the root window of our own connection, one per
// state of Caps Lock and Num Lock, so the locks do not matter. A chord another client holds
// fails with BadAccess. The grabs follow the modifier mapping; XKB's detectable
// auto-repeat makes a held key one press and one release.
class X11HotKeys final : public HotKeys {
public:
    // Each chord pressed is noted in `userTime`.
    X11HotKeys(X11Connection& connection, X11KeyboardLayout& keyboard, X11UserTime& userTime);
    ~X11HotKeys() override;
    X11HotKeys(const X11HotKeys&) = delete;
    X11HotKeys& operator=(const X11HotKeys&) = delete;

    int setHandler(std::function<void(const HotKeyEvent&)> handler) override;
    void clearHandler() override;
    HotKeyRegistration grab(KeyCode keyCode, std::uint32_t modifiers, std::uint32_t id) override;
    void setSuspended(bool suspended) override;

private:
    struct Entry {
        KeyCode keyCode = 0;
        std::uint32_t modifiers = 0;
        std::uint32_t id = 0;
        std::uint8_t xKeycode = 0;
        std::uint16_t xModifiers = 0;
        // Held by the server for us right now; false while suspended.
        bool grabbed = false;
        // Pressed and not yet released.
        bool down = false;
    };

    HotKeyRegistration::Status grabKey(Entry& entry);
    void ungrabKey(Entry& entry);
    // Whether another entry holds the same grab, which is the client's, not the entry's.
    bool heldByAnother(const Entry& entry) const;
    void release(std::uint64_t serial);
    // Grabs again every chord with the current modifier masks.
    void regrabAll();
    void handle(const xcb_generic_event_t& event);
    std::vector<std::uint16_t> lockVariants() const;

    X11Connection& connection_;
    X11KeyboardLayout& keyboard_;
    X11UserTime& userTime_;
    // The masks the grabs in force were made with.
    X11KeyboardLayout::ModifierMasks masks_;
    std::function<void(const HotKeyEvent&)> handler_;
    std::map<std::uint64_t, Entry> entries_;
    std::uint64_t nextSerial_ = 1;
    bool suspended_ = false;
    Subscription events_;
    Subscription mappingChanged_;
    Lifetime lifetime_;
};

}  // namespace quillbern
