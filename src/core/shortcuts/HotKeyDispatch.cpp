#include "core/shortcuts/HotKeyDispatch.h"

#include <algorithm>

#include "core/dock/DockController.h"
#include "core/foundation/Log.h"

namespace quillbern {

namespace {

using Kind = HotKeyAction::Kind;

}  // namespace

HotKeyDispatch::HotKeyDispatch(Ports ports, PinnedStore& pinned, const DockPreferences& preferences)
    : ports_(ports), pinned_(pinned), preferences_(preferences), chordText_(ports.layout, ports.text) {}

HotKeyDispatch::~HotKeyDispatch() = default;

std::vector<HotKeyBinding> HotKeyDispatch::currentBindings() const {
    return HotKeyBindings::resolve(pinned_.profiles(), preferences_.hotkeyOverrides(), preferences_.autoHide());
}

void HotKeyDispatch::syncHotkeys() {
    if (!preferences_.hotkeysEnabled()) {
        shutdown();
        return;
    }
    reportWithheld();
    if (registration_) {
        registration_->update(currentBindings());
        return;
    }
    registration_ = std::make_unique<ProfileHotKeys>(
        ports_.hotKeys, chordText_, currentBindings(),
        lifetime_.guard([this](const HotKeyAction& action, bool pressed) { performHotKey(action, pressed); }));
}

void HotKeyDispatch::reportWithheld() {
    for (const HotKeyBinding& binding :
         HotKeyBindings::withheld(pinned_.profiles(), preferences_.hotkeyOverrides(), preferences_.autoHide())) {
        const std::pair reported{binding.action, binding.chord};
        if (std::ranges::find(reported_, reported) != reported_.end()) continue;
        reported_.push_back(reported);
        log("the global shortcut ", chordText_.display(binding.chord), " (", escapedForLog(binding.label),
            ") is not used: with fewer than two modifier keys it would take that key from every application; record "
            "another in Settings");
    }
}

void HotKeyDispatch::shutdown() {
    if (!registration_) return;
    registration_->shutdown();
    registration_.reset();
}

const RegisteredChords& HotKeyDispatch::registered() const {
    static const RegisteredChords none;
    return registration_ ? registration_->registered() : none;
}

void HotKeyDispatch::performHotKey(const HotKeyAction& action, bool pressed) {
    if (pressed && action.kind() != Kind::cheatSheet) dismissPalette(targets.shortcutSheet);
    if (action.kind() == Kind::peekDocks) {
        if (!targets.dock) return;
        std::optional<KeyCode> keyCode;
        const auto peek = registered().find(action);
        if (peek != registered().end()) keyCode = peek->second.keyCode;
        targets.dock->setPeeking(pressed, keyCode);
        return;
    }
    if (!pressed) return;
    switch (action.kind()) {
        case Kind::profile:
            toggleDockFromUserGesture(action.profileID());
            break;
        case Kind::overview:
            togglePalette(targets, PaletteCommand::overview);
            break;
        case Kind::search:
            togglePalette(targets, PaletteCommand::appSearch);
            break;
        case Kind::files:
            togglePalette(targets, PaletteCommand::fileSearch);
            break;
        case Kind::focusMode:
            if (targets.focusMode) targets.focusMode->setActive(!targets.focusMode->isActive());
            break;
        case Kind::workspace:
            if (targets.workspace) targets.workspace->toggle();
            break;
        case Kind::cheatSheet:
            togglePalette(targets, PaletteCommand::shortcutSheet);
            break;
        case Kind::peekDocks:
            break;
    }
}

void HotKeyDispatch::toggleDockFromUserGesture(const Uuid& id) {
    const std::optional<Profile> dock = pinned_.profile(id);
    if (!dock) return;
    if (!dock->isEnabled) {
        ports_.alerts.beep();
        return;
    }
    if (preferences_.autoHide()) {
        if (targets.dock) targets.dock->toggleHeldOut(id);
        return;
    }
    pinned_.toggleVisibility(id);
}

}  // namespace quillbern
