#include "ui/settings/CommitTextField.h"

#include <QFocusEvent>
#include <utility>

namespace quillbern {

CommitTextField::CommitTextField(CommitDraft::Commit commit, CommitDraft::Current current, QWidget* parent)
    : QLineEdit(parent), draft_(std::move(commit), std::move(current)) {
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) { draft_.edit(text.toStdString()); });
    connect(this, &QLineEdit::returnPressed, this, [this] {
        draft_.submit();
        showDraft();
        // What was kept, selected to be typed over, shown from its start.
        const auto length = static_cast<int>(text().size());
        setSelection(length, -length);
    });
}

void CommitTextField::showOwner(const Uuid& owner) {
    draft_.show(owner);
    showDraft();
}

void CommitTextField::ownerChanged() {
    draft_.ownerChanged();
    showDraft();
}

void CommitTextField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    draft_.setFocused(true);
}

void CommitTextField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // The field's own menu takes the keyboard only for a moment.
    if (event->reason() == Qt::PopupFocusReason) return;
    draft_.setFocused(false);
    showDraft();
    setCursorPosition(0);
}

void CommitTextField::showDraft() {
    const QString shown = QString::fromStdString(draft_.draft());
    if (text() == shown) return;
    setText(shown);
    // A name too long for the field reads from its start.
    setCursorPosition(0);
}

}  // namespace quillbern
