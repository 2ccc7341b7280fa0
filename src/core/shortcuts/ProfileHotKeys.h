#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "core/foundation/Lifetime.h"
#include "core/platform/HotKeys.h"
#include "core/shortcuts/ChordText.h"
#include "core/shortcuts/HotKeyBindings.h"

namespace quillbern {

using RegisteredChords = std::unordered_map<HotKeyAction, HotKeyChord>;

// Makes a list of bindings work system-wide and reports every press and release of them.
// Each registration numbers the bindings by list position from 1; a refused binding keeps
// its number unused. The list is registered anew only when it changes, and actions still
// held are released before their chords go. Main thread.
class ProfileHotKeys {
public:
    using Perform = std::function<void(const HotKeyAction& action, bool pressed)>;

    // Installs the handler, then registers the bindings; without a handler nothing is
    // ever registered.
    ProfileHotKeys(HotKeys& hotKeys, const ChordText& text, const std::vector<HotKeyBinding>& bindings,
                   Perform perform);
    // Gives the chords back without reporting releases: shutdown() first reports them.
    ~ProfileHotKeys();
    ProfileHotKeys(const ProfileHotKeys&) = delete;
    ProfileHotKeys& operator=(const ProfileHotKeys&) = delete;

    // Does nothing when the list equals the registered one element by element.
    void update(const std::vector<HotKeyBinding>& bindings);
    // Releases what is held, gives every chord back and removes the handler.
    void shutdown();

    // The chords the system accepted, and those it refused, in the current registration.
    const RegisteredChords& registered() const { return registered_; }
    const RegisteredChords& refused() const { return refused_; }
    // Actions pressed and not yet released, in the order they were pressed.
    const std::vector<HotKeyAction>& held() const { return held_; }
    const std::vector<HotKeyBinding>& current() const { return current_; }

private:
    void registerAll(const std::vector<HotKeyBinding>& bindings);
    void unregisterAll();
    void handle(const HotKeyEvent& event);

    HotKeys& hotKeys_;
    const ChordText& text_;
    Perform perform_;
    bool handlerInstalled_ = false;
    RegisteredChords registered_;
    RegisteredChords refused_;
    std::vector<HotKeyAction> held_;
    std::vector<std::unique_ptr<HotKeyGrab>> grabs_;
    std::unordered_map<std::uint32_t, HotKeyAction> actionsByID_;
    std::vector<HotKeyBinding> current_;
    Lifetime lifetime_;
};

}  // namespace quillbern
