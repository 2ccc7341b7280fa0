#include "ui/palettes/PaletteField.h"

#include <QKeyEvent>

namespace quillbern {

namespace {

constexpr int kFontSize = 18;

void call(const std::function<void()>& fn) {
    if (fn) fn();
}

}  // namespace

PaletteField::PaletteField(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    QFont shown = font();
    shown.setPixelSize(kFontSize);
    setFont(shown);
    // Text only, over the palette's own background.
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::transparent);
    setPalette(colours);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (onEdit) onEdit(text.toStdString());
    });
}

void PaletteField::setQuery(const std::string& text) {
    const QString wanted = QString::fromStdString(text);
    if (this->text() != wanted) setText(wanted);
}

void PaletteField::setPlaceholder(const std::string& placeholder) {
    const QString wanted = QString::fromStdString(placeholder);
    if (placeholderText() != wanted) setPlaceholderText(wanted);
}

bool PaletteField::applyCommand(const QKeyEvent& key) {
    const bool shift = key.modifiers().testFlag(Qt::ShiftModifier);
    switch (key.key()) {
        case Qt::Key_Up:
        case Qt::Key_Backtab:
            if (onMove) onMove(-1);
            return true;
        case Qt::Key_Tab:
            if (onMove) onMove(shift ? -1 : +1);
            return true;
        case Qt::Key_Down:
            if (onMove) onMove(+1);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            call(onReturn);
            return true;
        case Qt::Key_Backspace:
            if (!onDeleteEmpty || !text().isEmpty()) return false;
            onDeleteEmpty();
            return true;
        case Qt::Key_Escape:
            if (text().isEmpty()) return false;
            call(onEscape);
            return true;
        default:
            return false;
    }
}

bool PaletteField::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto& key = static_cast<QKeyEvent&>(*event);
        if (applyCommand(key)) {
            key.accept();
            return true;
        }
        if (key.key() == Qt::Key_Escape) {
            // Up to the panel, which cancels.
            key.ignore();
            return false;
        }
    }
    return QLineEdit::event(event);
}

void PaletteField::showEvent(QShowEvent* event) {
    QLineEdit::showEvent(event);
    setFocus(Qt::OtherFocusReason);
}

}  // namespace quillbern
