#include "core/settings/AutomationCardModel.h"

namespace quillbern {

AutomationCardModel::AutomationCardModel(Clipboard& clipboard, RunLoop& mainLoop, Uuid profileID)
    : clipboard_(clipboard), mainLoop_(mainLoop), profileID_(profileID) {}

std::string AutomationCardModel::toggleUrl(const Uuid& profileID) {
    return "quillbern://profiles/" + profileID.text() + "/toggle";
}

void AutomationCardModel::copy() {
    clipboard_.setText(url());
    setShowsCopied(true);
    const std::int64_t generation = ++copyGeneration_;
    mainLoop_
        .after(kCopiedFor, lifetime_.guard([this, generation] {
            if (generation == copyGeneration_) setShowsCopied(false);
        }))
        .detach();
}

void AutomationCardModel::setProfile(const Uuid& profileID) {
    if (profileID == profileID_) return;
    profileID_ = profileID;
    ++copyGeneration_;
    setShowsCopied(false);
    changed();
}

void AutomationCardModel::setShowsCopied(bool shows) {
    if (shows == showsCopied_) return;
    showsCopied_ = shows;
    changed();
}

}  // namespace quillbern
