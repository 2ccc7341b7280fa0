#include "core/shortcuts/ShortcutRecorder.h"

#include "core/foundation/Localization.h"

namespace quillbern {

namespace {

constexpr KeyCode kEscape = 53;

}  // namespace

ShortcutRecorder::ShortcutRecorder(Alerts& alerts, HotKeys& hotKeys, const ChordText& chordText, Callbacks callbacks)
    : alerts_(alerts), hotKeys_(hotKeys), chordText_(chordText), callbacks_(std::move(callbacks)) {}

ShortcutRecorder::~ShortcutRecorder() {
    // Never leaves the shortcuts suspended behind it.
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

void ShortcutRecorder::key(const KeyEvent& event) {
    if (!listening_) return;
    if (event.keyCode == kEscape) return setListening(false);
    const std::optional<HotKeyChord> chord =
        event.keyCode ? HotKeyChord::fromKeyEvent(*event.keyCode, event.flags) : std::nullopt;
    if (!chord) {
        // A key our table does not know records nothing either; listening goes on.
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

void ShortcutRecorder::setListening(bool listening) {
    if (listening == listening_) return;
    listening_ = listening;
    hotKeys_.setSuspended(listening);
    changed.emit();
}

}  // namespace quillbern
