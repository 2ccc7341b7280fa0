#pragma once

#include <QLineEdit>

#include "core/settings/CommitDraft.h"

namespace quillbern {

// A one-line field whose text reaches its owner only on Return and when the field loses
// the keyboard. Not `editingFinished`, which Qt sends once for both and so swallows the
// second commit. A draft typed for one thing goes to that thing even when the field moved
// on to another. A text it did not just have typed shows from its start, and after Return the
// text kept is selected.
class CommitTextField final : public QLineEdit {
public:
    CommitTextField(CommitDraft::Commit commit, CommitDraft::Current current, QWidget* parent = nullptr);

    // The field shows this thing now.
    void showOwner(const Uuid& owner);
    // The owner's value changed: shown unless the user is typing.
    void ownerChanged();
    const CommitDraft& draft() const { return draft_; }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showDraft();

    CommitDraft draft_;
};

}  // namespace quillbern
