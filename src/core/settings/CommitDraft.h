#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/foundation/Uuid.h"

namespace quillbern {

// The text of a field that edits one thing's name and hands it over only on Return and
// on leaving the field, never on each keystroke. A draft always goes to the thing it was
// typed for, even when the field meanwhile shows another; after each commit the field shows
// the owner's value again, so a refused text does not linger. It filters nothing: trimming
// and refusing are the owner's. Main thread.
class CommitDraft {
public:
    // Hands a draft to the thing it was typed for.
    using Commit = std::function<void(const Uuid& owner, const std::string& text)>;
    // The owner's value of a thing as it stands now.
    using Current = std::function<std::string(const Uuid& owner)>;

    CommitDraft(Commit commit, Current current);

    const std::string& draft() const { return draft_; }
    bool isFocused() const { return focused_; }
    const std::optional<Uuid>& owner() const { return owner_; }

    // The field shows this thing now. A draft typed for another is handed to it first.
    void show(const Uuid& owner);
    // The owner's value changed: taken unless the user is typing.
    void ownerChanged();
    // The user changed the text.
    void edit(std::string text);
    void setFocused(bool focused);
    // Return: commits, and the owner's value shows again.
    void submit();

private:
    void commitDraft();

    Commit commit_;
    Current current_;
    std::optional<Uuid> owner_;
    // The thing the draft was typed for, from the first keystroke to its commit.
    std::optional<Uuid> typedFor_;
    std::string draft_;
    bool focused_ = false;
};

}  // namespace quillbern
