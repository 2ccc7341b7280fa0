#pragma once

#include <cstdint>
#include <memory>
#include <xcb/xcb.h>

#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"
#include "core/platform/KeyboardLayout.h"

struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace quillbern {

class X11Connection;

// The core keyboard's layout read through XKB (xkbcommon-x11) on our connection, followed
// as the server maps keys anew or switches layouts; and which X modifier bits Super, Alt
// and Num Lock give under the current mapping, which global grabs need.
class X11KeyboardLayout final : public KeyboardLayout {
public:
    // X modifier masks (Mod1 to Mod5); 0 where no key gives that modifier.
    struct ModifierMasks {
        std::uint16_t super = 0;
        std::uint16_t alt = 0;
        std::uint16_t numLock = 0;
        bool operator==(const ModifierMasks&) const = default;
    };

    explicit X11KeyboardLayout(X11Connection& connection);
    ~X11KeyboardLayout() override;
    X11KeyboardLayout(const X11KeyboardLayout&) = delete;
    X11KeyboardLayout& operator=(const X11KeyboardLayout&) = delete;

    KeyTranslation translate(KeyCode keyCode) const override;
    // The X keycode of a key event.
    std::optional<KeyCode> keyCodeForScanCode(std::uint32_t nativeScanCode) const override;
    // The names of the keys it knows (Print, Scroll Lock, the media keys...) from the catalogue.
    std::string keyName(std::uint32_t nativeScanCode) const override;

    const ModifierMasks& modifierMasks() const { return masks_; }
    // [main] After keys or modifiers were mapped anew; layout and masks are current then.
    [[nodiscard]] Subscription onMappingChanged(Task handler);

private:
    struct KeymapDeleter {
        void operator()(xkb_keymap* keymap) const;
    };
    struct StateDeleter {
        void operator()(xkb_state* state) const;
    };
    struct ContextDeleter {
        void operator()(xkb_context* context) const;
    };

    void reload();
    void loadKeymap();
    void loadModifierMasks();
    void handle(const xcb_generic_event_t& event);

    X11Connection& connection_;
    std::unique_ptr<xkb_context, ContextDeleter> context_;
    std::unique_ptr<xkb_keymap, KeymapDeleter> keymap_;
    std::unique_ptr<xkb_state, StateDeleter> state_;
    std::int32_t device_ = -1;
    // The code of XKB's events; 0 without XKB.
    std::uint8_t xkbEvent_ = 0;
    ModifierMasks masks_;
    Signal<> mappingChanged_;
    Subscription events_;
};

}  // namespace quillbern
