#include "linux/x11/X11KeyboardLayout.h"

#include <array>
#include <string>
#include <utility>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include "core/foundation/Localization.h"
#include "core/foundation/Log.h"
#include "linux/x11/KeyCodeTable.h"
#include "linux/x11/X11Connection.h"
#include "linux/x11/XcbXkb.h"

namespace quillbern {

namespace {

// Every XKB event starts the same way.
struct XkbEventHead {
    std::uint8_t responseType;
    std::uint8_t xkbType;
    std::uint16_t sequence;
    xcb_timestamp_t time;
    std::uint8_t deviceID;
};

// A dead key shows the accent it puts on the next letter, as a character of its own.
constexpr std::array<std::pair<xkb_keysym_t, char32_t>, 13> kDeadKeys{{
    {XKB_KEY_dead_grave, U'`'},
    {XKB_KEY_dead_acute, U'\u00B4'},
    {XKB_KEY_dead_circumflex, U'^'},
    {XKB_KEY_dead_tilde, U'~'},
    {XKB_KEY_dead_macron, U'\u00AF'},
    {XKB_KEY_dead_breve, U'\u02D8'},
    {XKB_KEY_dead_abovedot, U'\u02D9'},
    {XKB_KEY_dead_diaeresis, U'\u00A8'},
    {XKB_KEY_dead_abovering, U'\u02DA'},
    {XKB_KEY_dead_doubleacute, U'\u02DD'},
    {XKB_KEY_dead_caron, U'\u02C7'},
    {XKB_KEY_dead_cedilla, U'\u00B8'},
    {XKB_KEY_dead_ogonek, U'\u02DB'},
}};

// The keys outside the table of places that a refusal names, in the desktop's own words where
// its language has them ("Druck", "Rollen"); a key not listed here is refused without a name,
// so no name shows in English alone.
constexpr std::array<std::pair<xkb_keysym_t, TextInContext>, 30> kKeyNames{{
    // TRANSLATORS: the names of keys that cannot be part of a shortcut ("Print can't be part of
    // a shortcut"), as the language's keyboards and desktops print them.
    {XKB_KEY_Print, trcNoop("keyboard key", "Print")},
    {XKB_KEY_Pause, trcNoop("keyboard key", "Pause")},
    {XKB_KEY_Scroll_Lock, trcNoop("keyboard key", "Scroll Lock")},
    {XKB_KEY_Menu, trcNoop("keyboard key", "Menu")},
    {XKB_KEY_Caps_Lock, trcNoop("keyboard key", "Caps Lock")},
    {XKB_KEY_Num_Lock, trcNoop("keyboard key", "Num Lock")},
    {XKB_KEY_Henkan_Mode, trcNoop("keyboard key", "Henkan")},
    {XKB_KEY_Muhenkan, trcNoop("keyboard key", "Muhenkan")},
    {XKB_KEY_Hiragana_Katakana, trcNoop("keyboard key", "Hiragana/Katakana")},
    {XKB_KEY_Zenkaku_Hankaku, trcNoop("keyboard key", "Zenkaku/Hankaku")},
    {XKB_KEY_XF86AudioPlay, trcNoop("keyboard key", "Play")},
    {XKB_KEY_XF86AudioPause, trcNoop("keyboard key", "Pause")},
    {XKB_KEY_XF86AudioStop, trcNoop("keyboard key", "Stop")},
    {XKB_KEY_XF86AudioPrev, trcNoop("keyboard key", "Previous Track")},
    {XKB_KEY_XF86AudioNext, trcNoop("keyboard key", "Next Track")},
    {XKB_KEY_XF86AudioMute, trcNoop("keyboard key", "Mute")},
    {XKB_KEY_XF86AudioLowerVolume, trcNoop("keyboard key", "Volume Down")},
    {XKB_KEY_XF86AudioRaiseVolume, trcNoop("keyboard key", "Volume Up")},
    {XKB_KEY_XF86AudioMicMute, trcNoop("keyboard key", "Microphone Mute")},
    {XKB_KEY_XF86MonBrightnessDown, trcNoop("keyboard key", "Brightness Down")},
    {XKB_KEY_XF86MonBrightnessUp, trcNoop("keyboard key", "Brightness Up")},
    {XKB_KEY_XF86Eject, trcNoop("keyboard key", "Eject")},
    {XKB_KEY_XF86Calculator, trcNoop("keyboard key", "Calculator")},
    {XKB_KEY_XF86Mail, trcNoop("keyboard key", "Mail")},
    {XKB_KEY_XF86HomePage, trcNoop("keyboard key", "Home Page")},
    {XKB_KEY_XF86Search, trcNoop("keyboard key", "Search")},
    {XKB_KEY_XF86Sleep, trcNoop("keyboard key", "Sleep")},
    {XKB_KEY_XF86PowerOff, trcNoop("keyboard key", "Power")},
    {XKB_KEY_XF86Back, trcNoop("keyboard key", "Back")},
    {XKB_KEY_XF86Forward, trcNoop("keyboard key", "Forward")},
}};

xkb_keysym_t spacingForm(xkb_keysym_t keysym) {
    for (const auto& [dead, character] : kDeadKeys) {
        // Latin-1 keysyms are their code points; others live in the Unicode keysym range.
        if (dead == keysym) return character < 0x100 ? character : 0x01000000 | character;
    }
    return keysym;
}

}  // namespace

void X11KeyboardLayout::KeymapDeleter::operator()(xkb_keymap* keymap) const {
    xkb_keymap_unref(keymap);
}

void X11KeyboardLayout::StateDeleter::operator()(xkb_state* state) const {
    xkb_state_unref(state);
}

void X11KeyboardLayout::ContextDeleter::operator()(xkb_context* context) const {
    xkb_context_unref(context);
}

X11KeyboardLayout::X11KeyboardLayout(X11Connection& connection)
    : connection_(connection), context_(xkb_context_new(XKB_CONTEXT_NO_FLAGS)) {
    xcb_connection_t* c = connection_.xcb();
    std::uint8_t firstEvent = 0;
    if (!context_ ||
        !xkb_x11_setup_xkb_extension(c, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                     XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &firstEvent, nullptr)) {
        log("the X server has no keyboard extension (XKB): shortcuts show \"?\" for their keys");
    } else {
        device_ = xkb_x11_get_core_keyboard_device_id(c);
        xkbEvent_ = firstEvent;
        constexpr std::uint16_t kEvents =
            XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY | XCB_XKB_EVENT_TYPE_MAP_NOTIFY | XCB_XKB_EVENT_TYPE_STATE_NOTIFY;
        constexpr std::uint16_t kMapParts = XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS |
                                            XCB_XKB_MAP_PART_MODIFIER_MAP | XCB_XKB_MAP_PART_EXPLICIT_COMPONENTS |
                                            XCB_XKB_MAP_PART_KEY_ACTIONS | XCB_XKB_MAP_PART_VIRTUAL_MODS |
                                            XCB_XKB_MAP_PART_VIRTUAL_MOD_MAP;
        // Only a change of layout (group) matters; modifiers held do not change a label.
        constexpr std::uint16_t kStateParts =
            XCB_XKB_STATE_PART_GROUP_BASE | XCB_XKB_STATE_PART_GROUP_LATCH | XCB_XKB_STATE_PART_GROUP_LOCK;
        xcb_xkb_select_events_details_t details{};
        details.affectNewKeyboard = XCB_XKB_NKN_DETAIL_KEYCODES;
        details.newKeyboardDetails = XCB_XKB_NKN_DETAIL_KEYCODES;
        details.affectState = kStateParts;
        details.stateDetails = kStateParts;
        xcb_xkb_select_events_aux(c, static_cast<xcb_xkb_device_spec_t>(device_), kEvents, 0, 0, kMapParts, kMapParts,
                                  &details);
        loadKeymap();
    }
    loadModifierMasks();
    events_ = connection_.onEvent([this](const xcb_generic_event_t& event) { handle(event); });
}

X11KeyboardLayout::~X11KeyboardLayout() = default;

Subscription X11KeyboardLayout::onMappingChanged(Task handler) {
    return mappingChanged_.connect(std::move(handler));
}

void X11KeyboardLayout::handle(const xcb_generic_event_t& event) {
    if ((event.response_type & 0x7F) == XCB_MAPPING_NOTIFY) {
        const auto& mapping = reinterpret_cast<const xcb_mapping_notify_event_t&>(event);
        if (mapping.request != XCB_MAPPING_POINTER) reload();
        return;
    }
    if (xkbEvent_ == 0 || event.response_type != xkbEvent_) return;
    const auto& head = reinterpret_cast<const XkbEventHead&>(event);
    if (head.deviceID != device_) return;
    switch (head.xkbType) {
        case XCB_XKB_NEW_KEYBOARD_NOTIFY:
            if (reinterpret_cast<const xcb_xkb_new_keyboard_notify_event_t&>(event).changed &
                XCB_XKB_NKN_DETAIL_KEYCODES)
                reload();
            break;
        case XCB_XKB_MAP_NOTIFY:
            reload();
            break;
        case XCB_XKB_STATE_NOTIFY:
            if (state_) {
                const auto& state = reinterpret_cast<const xcb_xkb_state_notify_event_t&>(event);
                xkb_state_update_mask(state_.get(), state.baseMods, state.latchedMods, state.lockedMods,
                                      static_cast<xkb_layout_index_t>(state.baseGroup),
                                      static_cast<xkb_layout_index_t>(state.latchedGroup), state.lockedGroup);
            }
            break;
        default:
            break;
    }
}

void X11KeyboardLayout::reload() {
    if (xkbEvent_ != 0) loadKeymap();
    loadModifierMasks();
    mappingChanged_.emit();
}

void X11KeyboardLayout::loadKeymap() {
    xcb_connection_t* c = connection_.xcb();
    std::unique_ptr<xkb_keymap, KeymapDeleter> keymap(
        xkb_x11_keymap_new_from_device(context_.get(), c, device_, XKB_KEYMAP_COMPILE_NO_FLAGS));
    std::unique_ptr<xkb_state, StateDeleter> state(keymap ? xkb_x11_state_new_from_device(keymap.get(), c, device_)
                                                          : nullptr);
    connection_.drainSoon();
    if (!keymap || !state) {
        // The last keymap that could be read is better than none.
        log("the keyboard layout could not be read from the X server");
        return;
    }
    keymap_ = std::move(keymap);
    state_ = std::move(state);
}

void X11KeyboardLayout::loadModifierMasks() {
    xcb_connection_t* c = connection_.xcb();
    const xcb_setup_t* setup = xcb_get_setup(c);
    const std::uint8_t first = setup->min_keycode;
    const auto count = static_cast<std::uint8_t>(setup->max_keycode - setup->min_keycode + 1);
    const auto modifierCookie = xcb_get_modifier_mapping(c);
    const auto keysymCookie = xcb_get_keyboard_mapping(c, first, count);
    const XcbReply<xcb_get_modifier_mapping_reply_t> modifiers(
        xcb_get_modifier_mapping_reply(c, modifierCookie, nullptr));
    const XcbReply<xcb_get_keyboard_mapping_reply_t> keysyms(xcb_get_keyboard_mapping_reply(c, keysymCookie, nullptr));
    connection_.drainSoon();
    if (!modifiers || !keysyms) return;

    ModifierMasks masks;
    const xcb_keycode_t* keycodes = xcb_get_modifier_mapping_keycodes(modifiers.get());
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(keysyms.get());
    const int perKeycode = keysyms->keysyms_per_keycode;
    const int perModifier = modifiers->keycodes_per_modifier;
    // Shift, Lock and Control have bits of their own; Mod1 to Mod5 are assigned by the
    // mapping. A key on two modifiers would be rare: the first one counts.
    for (int modifier = 3; modifier < 8; ++modifier) {
        const auto bit = static_cast<std::uint16_t>(1 << modifier);
        for (int k = 0; k < perModifier; ++k) {
            const xcb_keycode_t keycode = keycodes[modifier * perModifier + k];
            if (keycode < first || keycode - first >= count) continue;
            for (int level = 0; level < perKeycode; ++level) {
                switch (syms[(keycode - first) * perKeycode + level]) {
                    case XKB_KEY_Super_L:
                    case XKB_KEY_Super_R:
                        if (!masks.super) masks.super = bit;
                        break;
                    case XKB_KEY_Alt_L:
                    case XKB_KEY_Alt_R:
                        if (!masks.alt) masks.alt = bit;
                        break;
                    case XKB_KEY_Num_Lock:
                        if (!masks.numLock) masks.numLock = bit;
                        break;
                    default:
                        break;
                }
            }
        }
    }
    masks_ = masks;
}

std::optional<KeyCode> X11KeyboardLayout::keyCodeForScanCode(std::uint32_t nativeScanCode) const {
    if (nativeScanCode > 0xFF) return std::nullopt;
    return keyForXKeycode(static_cast<std::uint8_t>(nativeScanCode));
}

std::string X11KeyboardLayout::keyName(std::uint32_t nativeScanCode) const {
    if (!keymap_ || !state_ || nativeScanCode > 0xFF) return {};
    const xkb_layout_index_t layout = xkb_state_key_get_layout(state_.get(), nativeScanCode);
    const xkb_keysym_t* syms = nullptr;
    if (layout == XKB_LAYOUT_INVALID ||
        xkb_keymap_key_get_syms_by_level(keymap_.get(), nativeScanCode, layout, 0, &syms) < 1) {
        return {};
    }
    for (const auto& [keysym, name] : kKeyNames) {
        if (keysym == syms[0]) return tr(name);
    }
    return {};
}

KeyTranslation X11KeyboardLayout::translate(KeyCode keyCode) const {
    if (!keymap_ || !state_) return {KeyTranslation::Status::noLayout, {}};
    const std::optional<std::uint8_t> keycode = xKeycodeForKey(keyCode);
    if (!keycode) return {KeyTranslation::Status::failed, {}};
    const xkb_layout_index_t layout = xkb_state_key_get_layout(state_.get(), *keycode);
    const xkb_keysym_t* syms = nullptr;
    if (layout == XKB_LAYOUT_INVALID ||
        xkb_keymap_key_get_syms_by_level(keymap_.get(), *keycode, layout, 0, &syms) < 1) {
        return {KeyTranslation::Status::failed, {}};
    }
    char text[8];
    const int written = xkb_keysym_to_utf8(spacingForm(syms[0]), text, sizeof text);
    // The count includes the terminating zero.
    if (written <= 1) return {KeyTranslation::Status::failed, {}};
    return {KeyTranslation::Status::ok, std::string(text, static_cast<std::size_t>(written - 1))};
}

}  // namespace quillbern
