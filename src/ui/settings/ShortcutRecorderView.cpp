#include "ui/settings/ShortcutRecorderView.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

#include "core/settings/ShortcutRecording.h"
#include "ui/foundation/QtKeyCodes.h"
#include "ui/foundation/QtText.h"
#include "ui/foundation/Symbols.h"
#include "ui/settings/SettingsTheme.h"

namespace quillbern {

namespace {

constexpr double kCornerRadius = 8;
constexpr int kTextWidth = 96;

bool isModifierKey(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Meta || key == Qt::Key_Alt ||
           key == Qt::Key_AltGr || key == Qt::Key_Super_L || key == Qt::Key_Super_R;
}

class RecorderAccessible final : public QAccessibleWidget {
public:
    explicit RecorderAccessible(ShortcutRecorderView* view) : QAccessibleWidget(view, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description) return view()->accessibleDescription();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString& name) override {
        if (name != pressAction()) return QAccessibleWidget::doAction(name);
        if (!view()->isEnabled()) return;
        view()->setFocus(Qt::OtherFocusReason);
        if (!view()->recorder().isListening()) view()->recorder().click();
    }

private:
    ShortcutRecorderView* view() const { return static_cast<ShortcutRecorderView*>(widget()); }
};

QAccessibleInterface* recorderFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(ShortcutRecorderView::staticMetaObject.className()))
        return new RecorderAccessible(static_cast<ShortcutRecorderView*>(object));
    return nullptr;
}

}  // namespace

ShortcutRecorderView::ShortcutRecorderView(std::unique_ptr<ShortcutRecorder> recorder, const KeyboardLayout& layout,
                                           QWidget* parent)
    : QWidget(parent), recorder_(std::move(recorder)), layout_(layout), text_(new QLabel), reset_(new QToolButton) {
    static const bool accessible = [] {
        QAccessible::installFactory(recorderFactory);
        return true;
    }();
    (void)accessible;
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    setAccessibleName(localized("Shortcut"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(11, 6, 11, 6);
    row->setSpacing(8);
    text_->setMinimumWidth(kTextWidth);
    text_->setAlignment(Qt::AlignCenter);
    row->addWidget(text_);
    reset_->setAutoRaise(true);
    reset_->setToolTip(localized("Back to the default shortcut"));
    reset_->setAccessibleName(reset_->toolTip());
    reset_->setIcon(
        symbolIcon("arrow.uturn.backward", palette().color(QPalette::PlaceholderText), 14, devicePixelRatioF()));
    reset_->setFocusPolicy(Qt::TabFocus);
    connect(reset_, &QToolButton::clicked, this, [this] { recorder_->reset(); });
    row->addWidget(reset_);
    changed_ = recorder_->changed.connect([this] { sync(); });
    sync();
}

// The recorder, destroyed after the subscription, gives back shortcuts it suspended.
ShortcutRecorderView::~ShortcutRecorderView() = default;

QString ShortcutRecorderView::shownText() const {
    return QString::fromStdString(recorder_->text());
}

void ShortcutRecorderView::sync() {
    const bool listening = recorder_->isListening();
    text_->setText(shownText());
    QFont font = this->font();
    font.setStrikeOut(recorder_->showsStruckThrough());
    if (!listening && !recorder_->showsNone()) {
        font.setWeight(QFont::Medium);
        font.setStyleHint(QFont::Monospace);
    }
    text_->setFont(font);
    QPalette colours = text_->palette();
    const bool secondary = listening || recorder_->showsNone();
    colours.setColor(QPalette::WindowText, recorder_->showsStruckThrough() ? SettingsTheme::destructive(palette())
                                           : secondary                     ? palette().color(QPalette::PlaceholderText)
                                                                           : palette().color(QPalette::WindowText));
    text_->setPalette(colours);
    reset_->setVisible(recorder_->showsReset());
    const QString description =
        recorder_->showsStruckThrough()
            ? QString::fromStdString(ShortcutRecording::struckThroughDescription(text_->text().toStdString()))
            : text_->text();
    if (description != accessibleDescription()) {
        setAccessibleDescription(description);
        QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&changed);
    }
    if (listening && !hasFocus()) setFocus(Qt::MouseFocusReason);
    update();
}

KeyEvent ShortcutRecorderView::keyEventOf(const QKeyEvent& event) const {
    std::optional<KeyCode> keyCode = layout_.keyCodeForScanCode(event.nativeScanCode());
    if (!keyCode) keyCode = keyCodeOfQtKey(event.key());
    const Qt::KeyboardModifiers held = event.modifiers();
    return {keyCode, globalChordFlags(held.testFlag(Qt::ShiftModifier), held.testFlag(Qt::ControlModifier),
                                      held.testFlag(Qt::AltModifier), held.testFlag(Qt::MetaModifier))};
}

void ShortcutRecorderView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool listening = recorder_->isListening();
    QColor fill = palette().color(QPalette::WindowText);
    fill.setAlphaF(listening ? 0.10 : hovering_ ? 0.07 : 0.05);
    const double inset = listening ? 0.75 : 0.5;
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), kCornerRadius, kCornerRadius);
    painter.fillPath(shape, fill);
    QColor border = listening ? palette().color(QPalette::Highlight) : palette().color(QPalette::Mid);
    painter.setPen(QPen(border, listening ? 1.5 : 1.0));
    painter.drawPath(shape);
}

void ShortcutRecorderView::mousePressEvent(QMouseEvent* event) {
    event->accept();
    recorder_->click();
}

bool ShortcutRecorderView::event(QEvent* event) {
    // While it listens, chords with Ctrl come here before any shortcut of the window.
    if (event->type() == QEvent::ShortcutOverride && recorder_->isListening()) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void ShortcutRecorderView::keyPressEvent(QKeyEvent* event) {
    if (!recorder_->isListening()) {
        const int key = event->key();
        if (event->modifiers() == Qt::NoModifier &&
            (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
            event->accept();
            return recorder_->click();
        }
        return QWidget::keyPressEvent(event);
    }
    event->accept();
    // A modifier alone is the start of a chord, not a key.
    if (isModifierKey(event->key())) return;
    // The layout names the key as it is without the modifiers held, which may change it (Alt
    // makes Print SysReq). A synthetic event has no scan code, so no name: Qt's are not the
    // catalogue's.
    recorder_->key(keyEventOf(*event), layout_.keyName(event->nativeScanCode()));
}

void ShortcutRecorderView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    recorder_->stopListening();
}

void ShortcutRecorderView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    recorder_->stopListening();
}

void ShortcutRecorderView::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    hovering_ = true;
    update();
}

void ShortcutRecorderView::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    hovering_ = false;
    update();
}

}  // namespace quillbern
