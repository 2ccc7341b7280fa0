#include "core/settings/LiveChords.h"

#include <utility>

namespace quillbern {

LiveChords::LiveChords(std::function<RegisteredChords()> read, RunLoop& mainLoop)
    : read_(std::move(read)), mainLoop_(mainLoop) {}

void LiveChords::readNow() {
    chords_ = read_ ? read_() : RegisteredChords{};
    changed.emit();
}

void LiveChords::readSoon() {
    if (pending_) return;
    pending_ = true;
    mainLoop_.post(lifetime_.guard([this] {
        pending_ = false;
        readNow();
    }));
}

bool LiveChords::holds(const HotKeyAction& action, const HotKeyChord& chord) const {
    const auto registered = chords_.find(action);
    return registered != chords_.end() && registered->second == chord;
}

}  // namespace quillbern
