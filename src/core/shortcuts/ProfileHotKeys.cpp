#include "core/shortcuts/ProfileHotKeys.h"

#include <algorithm>
#include <utility>

#include "core/foundation/Log.h"

namespace quillbern {

namespace {

const char* whyRefused(HotKeyRegistration::Status status) {
    switch (status) {
        case HotKeyRegistration::Status::taken:
            return "another application has taken it; free it there or give Quillbern's shortcut another chord";
        case HotKeyRegistration::Status::unanswered:
            return "the display server did not answer in time; it is tried again when the shortcuts next change";
        default:
            return "this keyboard has no such key or modifier; give the shortcut another chord";
    }
}

}  // namespace

ProfileHotKeys::ProfileHotKeys(HotKeys& hotKeys, const ChordText& text, const std::vector<HotKeyBinding>& bindings,
                               Perform perform)
    : hotKeys_(hotKeys), text_(text), perform_(std::move(perform)) {
    const int status = hotKeys_.setHandler(lifetime_.guard([this](const HotKeyEvent& event) { handle(event); }));
    handlerInstalled_ = status == 0;
    if (!handlerInstalled_) {
        log("global shortcuts are off: the key handler could not be installed (error ", status,
            "); restart Quillbern to try again");
        return;
    }
    registerAll(bindings);
}

ProfileHotKeys::~ProfileHotKeys() {
    if (handlerInstalled_) hotKeys_.clearHandler();
}

void ProfileHotKeys::update(const std::vector<HotKeyBinding>& bindings) {
    if (bindings == current_) return;
    unregisterAll();
    registerAll(bindings);
}

void ProfileHotKeys::shutdown() {
    unregisterAll();
    if (handlerInstalled_) hotKeys_.clearHandler();
    handlerInstalled_ = false;
}

void ProfileHotKeys::registerAll(const std::vector<HotKeyBinding>& bindings) {
    if (!handlerInstalled_) return;
    current_ = bindings;
    for (std::size_t position = 0; position < bindings.size(); ++position) {
        const HotKeyBinding& binding = bindings[position];
        const auto id = static_cast<std::uint32_t>(position + 1);
        HotKeyRegistration registration = hotKeys_.grab(binding.chord.keyCode, binding.chord.modifiers, id);
        if (registration.status == HotKeyRegistration::Status::grabbed) {
            grabs_.push_back(std::move(registration.grab));
            actionsByID_.insert_or_assign(id, binding.action);
            registered_.insert_or_assign(binding.action, binding.chord);
            continue;
        }
        refused_.insert_or_assign(binding.action, binding.chord);
        log("the global shortcut ", text_.display(binding.chord), " (", escapedForLog(binding.label),
            ") does not work: ", whyRefused(registration.status));
    }
}

void ProfileHotKeys::unregisterAll() {
    // Held actions end before their chords go, so a peek in progress stops.
    const std::vector<HotKeyAction> wasHeld = std::exchange(held_, {});
    const Perform perform = perform_;
    for (const HotKeyAction& action : wasHeld)
        perform(action, false);
    grabs_.clear();
    actionsByID_.clear();
    registered_.clear();
    refused_.clear();
    current_.clear();
}

void ProfileHotKeys::handle(const HotKeyEvent& event) {
    const auto found = actionsByID_.find(event.id);
    // A late event of a registration that has gone.
    if (found == actionsByID_.end()) return;
    const HotKeyAction action = found->second;
    if (event.pressed) {
        if (std::find(held_.begin(), held_.end(), action) == held_.end()) held_.push_back(action);
    } else {
        std::erase(held_, action);
    }
    // A copy: what the action does may end this object.
    const Perform perform = perform_;
    perform(action, event.pressed);
}

}  // namespace quillbern
