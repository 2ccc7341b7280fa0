#include "core/shortcuts/ShortcutRecorder.h"

#include "core/foundation/Localization.h"
#include "core/foundation/Log.h"

namespace quillbern {

namespace {

constexpr KeyCode kEscape = 53;
constexpr KeyCode kCapsLock = 57;
constexpr KeyCode kNumLock = 71;

}  // namespace

ShortcutRecorder::ShortcutRecorder(Alerts& alerts, HotKeys& hotKeys, KeyboardGrabber& keyboard,
                                   const ChordText& chordText, Callbacks callbacks)
    : alerts_(alerts),
      hotKeys_(hotKeys),
      keyboard_(keyboard),
      chordText_(chordText),
      callbacks_(std::move(callbacks)) {}

ShortcutRecorder::~ShortcutRecorder() {
    // Never leaves the shortcuts suspended behind it; the keyboard goes with the grab.
    if (listening_) hotKeys_.setSuspended(false);
}

void ShortcutRecorder::setRow(Row row) {
    row_ = std::move(row);
    changed.emit();
}

std::string ShortcutRecorder::text() const {
    if (listening_) return tr("Press the keys…");
    return row_.chord ? chordText_.display(*row_.chord) : trc("shortcut", "None");
}

void ShortcutRecorder::click() {
    setListening(!listening_);
}

void ShortcutRecorder::key(const KeyEvent& event, const std::string& keyName) {
    if (!listening_) return;
    if (event.keyCode == kEscape) return setListening(false);
    if (!canBeInAChord(event.keyCode)) {
        alerts_.beep();
        if (callbacks_.onUnusableKey) callbacks_.onUnusableKey(keyName);
        return;
    }
    const std::optional<HotKeyChord> chord = HotKeyChord::fromKeyEvent(*event.keyCode, event.flags);
    if (!chord) {
        alerts_.beep();
        if (callbacks_.onWeak) callbacks_.onWeak();
        return;
    }
    if (callbacks_.onRecord) callbacks_.onRecord(*chord);
    setListening(false);
}

void ShortcutRecorder::stopListening() {
    setListening(false);
}

void ShortcutRecorder::reset() {
    if (callbacks_.onReset) callbacks_.onReset();
}

bool ShortcutRecorder::canBeInAChord(const std::optional<KeyCode>& keyCode) const {
    // A key outside our table cannot be grabbed, a lock key changes what the others type,
    // and a key without a label could not be shown.
    return keyCode && *keyCode != kCapsLock && *keyCode != kNumLock && chordText_.keyLabel(*keyCode);
}

void ShortcutRecorder::setListening(bool listening) {
    if (listening == listening_) return;
    listening_ = listening;
    hotKeys_.setSuspended(listening);
    if (listening) {
        grab_ = keyboard_.grabKeyboard();
        if (!grab_)
            log("the keyboard could not be held for the shortcut recorder: a chord another application grabs will not "
                "reach it");
    } else {
        grab_.reset();
    }
    changed.emit();
}

}  // namespace quillbern
