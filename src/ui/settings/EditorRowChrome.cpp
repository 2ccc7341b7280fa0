#include "ui/settings/EditorRowChrome.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "ui/settings/HoverRemoveButton.h"
#include "ui/settings/SettingsAccessible.h"

namespace quillbern {

namespace {

constexpr int kSpacing = 10;
constexpr int kMinimumHeight = 32;
constexpr int kSidePadding = 8;
constexpr double kPlateRadius = 7;

}  // namespace

EditorRowChrome::EditorRowChrome(const QString& removeHelp, QWidget* leading, QWidget* parent)
    : QWidget(parent),
      removeHelp_(removeHelp),
      leading_(leading),
      remove_(new HoverRemoveButton(removeHelp)),
      hover_(*this, kSettingsHoverAnimation, [this] { applyLook(); }),
      focus_(*this, kSettingsHoverAnimation, [this] { applyLook(); }) {
    installSettingsAccessibility();
    setAttribute(Qt::WA_Hover);
    setMinimumHeight(kMinimumHeight);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kSidePadding, 0, kSidePadding, 0);
    layout->setSpacing(0);
    if (leading_) layout->addWidget(leading_, 0, Qt::AlignVCenter);
    layout->addSpacing(kSpacing);
    layout->addStretch(1);
    layout->addWidget(remove_, 0, Qt::AlignVCenter);
    remove_->installEventFilter(this);
    connect(remove_, &QAbstractButton::clicked, this, &EditorRowChrome::remove);
    follow();
}

void EditorRowChrome::follow() {
    hover_.setOn(hovering_);
    focus_.setOn(remove_->hasFocus());
    applyLook();
}

void EditorRowChrome::applyLook() {
    const EditorRowLook hovered = editorRowLook(true, false);
    const EditorRowLook focused = editorRowLook(false, true);
    remove_->setOpacity(std::max(hover_.at(0, hovered.removeOpacity), focus_.at(0, focused.removeOpacity)));
    update();
}

void EditorRowChrome::paintEvent(QPaintEvent*) {
    const double plate = hover_.at(0, editorRowLook(true, false).plateOpacity);
    if (plate <= 0) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), kPlateRadius, kPlateRadius);
    painter.fillPath(shape, SettingsTheme::primaryAt(palette(), plate));
}

void EditorRowChrome::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    hovering_ = true;
    follow();
}

void EditorRowChrome::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    hovering_ = false;
    follow();
}

bool EditorRowChrome::eventFilter(QObject* watched, QEvent* event) {
    if (watched == remove_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) follow();
    return QWidget::eventFilter(watched, event);
}

}  // namespace quillbern
