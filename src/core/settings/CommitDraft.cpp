#include "core/settings/CommitDraft.h"

#include <utility>

namespace quillbern {

CommitDraft::CommitDraft(Commit commit, Current current) : commit_(std::move(commit)), current_(std::move(current)) {}

void CommitDraft::show(const Uuid& owner) {
    if (owner_ == owner) return;
    if (typedFor_) commitDraft();
    owner_ = owner;
    draft_ = current_(owner);
}

void CommitDraft::ownerChanged() {
    if (!focused_ && owner_) draft_ = current_(*owner_);
}

void CommitDraft::edit(std::string text) {
    if (!typedFor_) typedFor_ = owner_;
    draft_ = std::move(text);
}

void CommitDraft::setFocused(bool focused) {
    if (focused_ == focused) return;
    focused_ = focused;
    if (focused) return;
    commitDraft();
    ownerChanged();
}

void CommitDraft::submit() {
    commitDraft();
    if (owner_) draft_ = current_(*owner_);
}

void CommitDraft::commitDraft() {
    const std::optional<Uuid> target = typedFor_ ? typedFor_ : owner_;
    typedFor_.reset();
    if (target) commit_(*target, draft_);
}

}  // namespace quillbern
