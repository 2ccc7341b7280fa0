#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/foundation/Signal.h"
#include "core/model/HotKeyChord.h"
#include "core/platform/Alerts.h"
#include "core/platform/HotKeys.h"
#include "core/platform/KeyEvent.h"
#include "core/platform/KeyboardGrabber.h"
#include "core/shortcuts/ChordText.h"

namespace quillbern {

// The control that records one global shortcut, as data: it shows the chord in effect (or
// "None"), listens from a click until the next chord, Escape, a second click or the loss of
// the keyboard, and offers the way back to the default when the user chose the chord. It
// decides nothing about what a chord means: its host gets the chord and applies its own
// rules. While it listens it holds the whole keyboard and our global grabs are suspended, so
// every chord reaches it, one of ours or one another application grabs. Main thread.
class ShortcutRecorder {
public:
    // What the host gives it.
    struct Row {
        // In effect for this row; none shows "None".
        std::optional<HotKeyChord> chord;
        // The user chose the chord: the way back to the default is offered.
        bool isCustom = false;
        // The chord shown is registered; one that is not shows struck through.
        bool isLive = true;
    };
    struct Callbacks {
        std::function<void(const HotKeyChord&)> onRecord;
        // A key was pressed without Command, Control or Option.
        std::function<void()> onWeak;
        std::function<void()> onReset;
        // A key that cannot be part of a chord was pressed: a lock key, or one without a
        // label; given what the keyboard calls it, empty when it has no name.
        std::function<void(const std::string& keyName)> onUnusableKey;
    };

    ShortcutRecorder(Alerts& alerts, HotKeys& hotKeys, KeyboardGrabber& keyboard, const ChordText& chordText,
                     Callbacks callbacks);
    ~ShortcutRecorder();
    ShortcutRecorder(const ShortcutRecorder&) = delete;
    ShortcutRecorder& operator=(const ShortcutRecorder&) = delete;

    // Listening started or ended, or the row changed.
    Signal<> changed;

    void setRow(Row row);
    const Row& row() const { return row_; }
    bool isListening() const { return listening_; }

    // "Press the keys…" while listening, else the chord's text or "None", translated.
    std::string text() const;
    bool showsNone() const { return !listening_ && !row_.chord; }
    bool showsStruckThrough() const { return !listening_ && row_.chord && !row_.isLive; }
    bool showsReset() const { return row_.isCustom && !listening_; }

    // A click on the control: starts listening, or stops without a chord.
    void click();
    // A key pressed while listening, with what the keyboard calls it; always taken. Escape,
    // with any modifiers, stops.
    void key(const KeyEvent& event, const std::string& keyName);
    // Any window of ours stopped taking the keyboard, or the control left the screen.
    void stopListening();
    void reset();

private:
    void setListening(bool listening);
    bool canBeInAChord(const std::optional<KeyCode>& keyCode) const;

    Alerts& alerts_;
    HotKeys& hotKeys_;
    KeyboardGrabber& keyboard_;
    // Held while listening.
    std::unique_ptr<KeyboardGrab> grab_;
    const ChordText& chordText_;
    Callbacks callbacks_;
    Row row_;
    bool listening_ = false;
};

}  // namespace quillbern
