#include "ui/settings/SettingsCaption.h"

#include <QHBoxLayout>

#include "ui/foundation/QtIcons.h"
#include "ui/foundation/QtText.h"
#include "ui/foundation/Symbols.h"
#include "ui/settings/SettingsTheme.h"

namespace quillbern {

namespace {

constexpr double kCalloutSize = 12;
constexpr int kSpaceAbove = 6;
constexpr int kNoteSymbolSide = 14;

void setTextColour(QLabel& label, const QColor& colour) {
    QPalette colours = label.palette();
    colours.setColor(QPalette::WindowText, colour);
    label.setPalette(colours);
}

}  // namespace

SettingsCaption::SettingsCaption(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setFont(fontOfSize(kCalloutSize));
    setContentsMargins(0, kSpaceAbove, 0, 0);
    setTextColour(*this, SettingsTheme::tone(SettingsTone::secondary, palette()));
}

SettingsNoteLabel::SettingsNoteLabel(QWidget* parent) : QWidget(parent), symbol_(new QLabel), text_(new QLabel) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, kSpaceAbove, 0, 0);
    layout->setSpacing(6);
    symbol_->setFixedSize(kNoteSymbolSide, kNoteSymbolSide);
    layout->addWidget(symbol_, 0, Qt::AlignTop);
    text_->setTextFormat(Qt::PlainText);
    text_->setWordWrap(true);
    text_->setFont(fontOfSize(kCalloutSize));
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(text_, 1);
    hide();
}

void SettingsNoteLabel::setNote(const std::optional<SettingsNote>& note) {
    if (!note) {
        style_.reset();
        text_->clear();
        hide();
        return;
    }
    setNote(QString::fromStdString(note->text), note->style);
}

void SettingsNoteLabel::setNote(const QString& text, SettingsNoteStyle style) {
    if (text.isEmpty()) return setNote(std::nullopt);
    const SettingsNoteLook look = settingsNoteLook(style);
    const QColor colour = SettingsTheme::tone(look.tone, palette());
    if (style_ != style) {
        showIconIn(*symbol_, symbolIcon(look.symbol, colour, kNoteSymbolSide, devicePixelRatioF()), kNoteSymbolSide);
        setTextColour(*text_, colour);
        style_ = style;
    }
    text_->setText(text);
    show();
}

QString SettingsNoteLabel::text() const {
    return text_->text();
}

}  // namespace quillbern
