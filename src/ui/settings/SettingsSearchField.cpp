#include "ui/settings/SettingsSearchField.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>

#include "ui/foundation/QtText.h"
#include "ui/foundation/Symbols.h"

namespace quillbern {

namespace {

constexpr double kCornerRadius = 10;
constexpr int kGlowRoom = 4;
constexpr int kGlowBlur = 7;
constexpr double kSymbolSide = 13;
constexpr double kTextSize = 13;

// The clear button: a filled disc with a cross, faded in and out by the field.
class ClearButton final : public QAbstractButton {
public:
    explicit ClearButton(QWidget* parent = nullptr) : QAbstractButton(parent) {
        setFocusPolicy(Qt::NoFocus);
        setToolTip(localized("Clear"));
        setAccessibleName(localized("Clear the search field"));
        setFixedSize(16, 16);
    }
    void setOpacity(double opacity) {
        opacity_ = opacity;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setOpacity(opacity_);
        paintSymbol(painter, QRectF(1.5, 1.5, kSymbolSide, kSymbolSide), "xmark.circle.fill",
                    SettingsTheme::tone(SettingsTone::secondary, palette()));
    }

private:
    double opacity_ = 1;
};

// The magnifier, in the accent colour as the field gains the keyboard.
// Repainted with the field, whose repaint covers it.
class Magnifier final : public QWidget {
public:
    explicit Magnifier(const EasedFraction& focus) : focus_(focus) { setFixedSize(16, 16); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QColor ink =
            SettingsTheme::mix(SettingsTheme::tone(searchFieldLook(false, false).magnifier, palette()),
                               SettingsTheme::tone(searchFieldLook(true, false).magnifier, palette()), focus_.value());
        paintSymbol(painter, QRectF(1.5, 1.5, kSymbolSide, kSymbolSide), "magnifyingglass", ink);
    }

private:
    const EasedFraction& focus_;
};

}  // namespace

SettingsSearchField::SettingsSearchField(const QString& placeholder, QWidget* parent)
    : QWidget(parent),
      edit_(new QLineEdit),
      clear_(new ClearButton),
      focus_(*this, kSettingsFocusAnimation),
      clearShown_(*this, kSettingsHoverAnimation, [this] {
          static_cast<ClearButton*>(clear_)->setOpacity(clearShown_.value());
          // Gone once faded out.
          if (clearShown_.value() == 0 && edit_->text().isEmpty()) clear_->hide();
      }) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kGlowRoom + 11, kGlowRoom + 8, kGlowRoom + 11, kGlowRoom + 8);
    layout->setSpacing(8);
    layout->addWidget(new Magnifier(focus_));
    edit_->setFrame(false);
    edit_->setPlaceholderText(placeholder);
    edit_->setAccessibleName(placeholder);
    edit_->setFont(fontOfSize(kTextSize));
    edit_->setAttribute(Qt::WA_MacShowFocusRect, false);
    QPalette transparent = edit_->palette();
    transparent.setColor(QPalette::Base, Qt::transparent);
    edit_->setPalette(transparent);
    edit_->installEventFilter(this);
    layout->addWidget(edit_, 1);
    clear_->hide();
    layout->addWidget(clear_);
    setFocusProxy(edit_);

    connect(edit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        followText(text);
        Q_EMIT textChanged(text);
    });
    connect(edit_, &QLineEdit::returnPressed, this, &SettingsSearchField::submitted);
    connect(clear_, &QAbstractButton::clicked, edit_, &QLineEdit::clear);
}

QString SettingsSearchField::text() const {
    return edit_->text();
}

void SettingsSearchField::setText(const QString& text) {
    edit_->setText(text);
}

void SettingsSearchField::followText(const QString& text) {
    const bool shows = searchFieldLook(focused_, !text.isEmpty()).showsClear;
    if (shows) clear_->show();
    clearShown_.setOn(shows);
}

bool SettingsSearchField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        focused_ = edit_->hasFocus();
        focus_.setOn(focused_);
    }
    return QWidget::eventFilter(watched, event);
}

void SettingsSearchField::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const SearchFieldLook idle = searchFieldLook(false, false);
    const SearchFieldLook focused = searchFieldLook(true, false);
    const double fraction = focus_.value();
    const QRectF shape = QRectF(rect()).adjusted(kGlowRoom, kGlowRoom, -kGlowRoom, -kGlowRoom);
    const double glow = focus_.at(idle.glowOpacity, focused.glowOpacity);
    if (glow > 0) {
        // Rings that widen as they fade stand for the glow's blur.
        QColor ring = SettingsTheme::accent(palette());
        for (int step = 1; step <= kGlowBlur; ++step) {
            ring.setAlphaF(static_cast<float>(glow * (1.0 - double(step) / (kGlowBlur + 1)) / 3));
            painter.setPen(QPen(ring, 1));
            const double spread = step * double(kGlowRoom) / kGlowBlur;
            painter.drawRoundedRect(shape.adjusted(-spread, -spread, spread, spread), kCornerRadius + spread,
                                    kCornerRadius + spread);
        }
    }
    QPainterPath body;
    body.addRoundedRect(shape, kCornerRadius, kCornerRadius);
    painter.fillPath(body, SettingsTheme::primaryAt(palette(), focus_.at(idle.fillOpacity, focused.fillOpacity)));
    QColor idleBorder = SettingsTheme::tone(idle.border, palette());
    QColor focusBorder = SettingsTheme::tone(focused.border, palette());
    focusBorder.setAlphaF(static_cast<float>(focused.borderOpacity));
    const double width = focus_.at(idle.borderWidth, focused.borderWidth);
    painter.setPen(QPen(SettingsTheme::mix(idleBorder, focusBorder, fraction), width));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(shape.adjusted(width / 2, width / 2, -width / 2, -width / 2), kCornerRadius - width / 2,
                            kCornerRadius - width / 2);
}

}  // namespace quillbern
