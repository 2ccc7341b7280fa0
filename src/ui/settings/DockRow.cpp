#include "ui/settings/DockRow.h"

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QFontDatabase>
#include <QHelpEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QRadialGradient>
#include <QToolTip>

#include "core/model/ProfileRepair.h"
#include "core/tiles/DragTypes.h"
#include "ui/foundation/QtText.h"
#include "ui/foundation/Symbols.h"
#include "ui/settings/SettingsAccessible.h"

namespace quillbern {

namespace {

constexpr int kPaddingX = 9;
constexpr int kPaddingY = 7;
constexpr int kSpacing = 9;
constexpr double kDotSide = 7;
constexpr double kGlowRadius = 3;
constexpr double kCornerRadius = 7;
constexpr double kNameSize = 13;
constexpr double kChordSize = 10;
constexpr double kEdgeSymbolSide = 11;
// At least this much between the name and the shortcut.
constexpr double kNameToChord = 6;
constexpr double kSelectedFill = 0.2;
constexpr double kSelectedBorder = 0.55;
constexpr double kHoverFill = 0.06;
constexpr double kIdleDot = 0.3;
constexpr double kGlowOpacity = 0.7;

const QString& dockRowType() {
    static const QString type = QString::fromLatin1(kDockRowDragType.data(), qsizetype(kDockRowDragType.size()));
    return type;
}

QFont chordFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(int(kChordSize));
    return font;
}

// The shortcut in at most `room`: whole, else its key alone after an ellipsis ("…2"), never
// some of its modifiers, which would read as another shortcut; empty when not even that fits.
QString shortenedChord(const QString& chord, const QString& key, double room) {
    const QFontMetricsF metrics(chordFont());
    if (metrics.horizontalAdvance(chord) <= room) return chord;
    const QString keyAlone = QStringLiteral("…") + key;
    return metrics.horizontalAdvance(keyAlone) <= room ? keyAlone : QString();
}

bool offersDockRow(const QMimeData* data) {
    return data && data->hasFormat(dockRowType());
}

}  // namespace

DockRow::DockRow(DocksPaneModel& model, const DockRowData& data, QWidget* parent)
    : QAbstractButton(parent), model_(model), data_(data), hover_(*this, kSettingsHoverAnimation) {
    installSettingsAccessibility();
    setAttribute(Qt::WA_Hover);
    setAcceptDrops(true);
    setFont(fontOfSize(kNameSize));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    applyData();
    connect(this, &QAbstractButton::clicked, this, [this] {
        model_.select(data_.id);
        setFocus(Qt::OtherFocusReason);
    });
}

void DockRow::setData(const DockRowData& data) {
    if (data == data_) return;
    const bool selectionChanged = data.isSelected != data_.isSelected;
    data_ = data;
    applyData();
    if (selectionChanged) {
        QAccessible::State changes;
        changes.selected = true;
        QAccessibleStateChangeEvent event(this, changes);
        QAccessible::updateAccessibility(&event);
    }
}

void DockRow::applyData() {
    setAccessibleName(QString::fromStdString(data_.name));
    setAccessibleDescription(QString::fromStdString(data_.description));
    update();
}

double DockRow::opacity() const {
    return data_.isDragged ? DocksPaneModel::kDraggedRowOpacity : 1.0;
}

void DockRow::retire() {
    retired_ = true;
    hide();
    if (busy_ == 0) deleteLater();
}

template <class Run>
void DockRow::whileBusy(Run run) {
    ++busy_;
    run();
    if (--busy_ == 0 && retired_) deleteLater();
}

void DockRow::askToRemove() {
    model_.askToRemove(data_.id);
}

QMimeData* DockRow::dragData(const Uuid& id) {
    auto* data = new QMimeData;
    data->setData(dockRowType(), QByteArray::fromStdString(id.text()));
    return data;
}

QSize DockRow::sizeHint() const {
    const int line = std::max(fontMetrics().height(), int(kEdgeSymbolSide));
    return {200, line + 2 * kPaddingY};
}

QRectF DockRow::dotRect() const {
    return {kPaddingX, (height() - kDotSide) / 2, kDotSide, kDotSide};
}

bool DockRow::event(QEvent* event) {
    // The dot and the shortcut have tooltips of their own; the name has its row's.
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QRect dot = dotRect().adjusted(-3, -3, 3, 3).toAlignedRect();
        const QRect chord = texts().chordBox.toAlignedRect();
        if (dot.contains(help->pos())) {
            QToolTip::showText(help->globalPos(), QString::fromStdString(data_.dotTooltip), this, dot);
        } else if (data_.chord && chord.contains(help->pos())) {
            QToolTip::showText(help->globalPos(), QString::fromStdString(data_.chordTooltip), this, chord);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QAbstractButton::event(event);
}

void DockRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(opacity());
    const QPalette& colours = palette();
    const QColor accent = SettingsTheme::accent(colours);

    QPainterPath plate;
    plate.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kCornerRadius, kCornerRadius);
    if (data_.isSelected) {
        QColor fill = accent;
        fill.setAlphaF(float(kSelectedFill));
        painter.fillPath(plate, fill);
        QColor border = accent;
        border.setAlphaF(float(kSelectedBorder));
        painter.setPen(QPen(border, 1));
        painter.drawPath(plate);
    } else if (hover_.value() > 0) {
        painter.fillPath(plate, SettingsTheme::primaryAt(colours, kHoverFill * hover_.value()));
    }
    if (hasFocus()) {
        QColor ring = accent;
        ring.setAlphaF(0.8f);
        painter.setPen(QPen(ring, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), kCornerRadius, kCornerRadius);
    }

    const QRectF dot = dotRect();
    const bool lit = data_.dot == DockDot::shown;
    if (lit) {
        QColor glow = SettingsTheme::switchTint(colours);
        glow.setAlphaF(float(kGlowOpacity));
        QRadialGradient halo(dot.center(), kDotSide / 2 + kGlowRadius);
        halo.setColorAt(0.5, glow);
        glow.setAlpha(0);
        halo.setColorAt(1, glow);
        painter.setPen(Qt::NoPen);
        painter.setBrush(halo);
        painter.drawEllipse(dot.center(), kDotSide / 2 + kGlowRadius, kDotSide / 2 + kGlowRadius);
    }
    QColor dotFill = lit ? SettingsTheme::switchTint(colours) : SettingsTheme::tone(SettingsTone::secondary, colours);
    if (!lit) dotFill.setAlphaF(dotFill.alphaF() * float(kIdleDot));
    painter.setPen(Qt::NoPen);
    painter.setBrush(dotFill);
    painter.drawEllipse(dot);

    const QColor secondary = SettingsTheme::tone(SettingsTone::secondary, colours);
    paintSymbol(painter, edgeRect(), data_.edgeSymbol, secondary);
    const Texts shown = texts();
    if (!shown.chord.isEmpty()) {
        // As its recorder shows it: struck through in red where it could not be registered.
        QFont font = chordFont();
        font.setStrikeOut(data_.chordUnregistered);
        painter.setFont(font);
        painter.setPen(data_.chordUnregistered ? SettingsTheme::destructive(colours) : secondary);
        painter.drawText(shown.chordBox, Qt::AlignVCenter | Qt::AlignRight, shown.chord);
    }
    painter.setFont(font());
    painter.setPen(colours.color(QPalette::WindowText));
    painter.drawText(shown.nameBox, Qt::AlignVCenter | Qt::AlignLeft, shown.name);
}

QRectF DockRow::edgeRect() const {
    return {width() - kPaddingX - kEdgeSymbolSide, (height() - kEdgeSymbolSide) / 2, kEdgeSymbolSide, kEdgeSymbolSide};
}

DockRow::Texts DockRow::texts() const {
    const double left = dotRect().right() + kSpacing;
    const double right = edgeRect().left() - kSpacing;
    const double room = std::max(0.0, right - left);
    const QFontMetricsF nameMetrics(font());
    const QString name = QString::fromStdString(data_.name);
    Texts shown;
    if (data_.chord) {
        // The name first: the shortcut takes what is left beside it.
        const double chordRoom = room - nameMetrics.horizontalAdvance(name) - kNameToChord;
        shown.chord =
            shortenedChord(QString::fromStdString(*data_.chord), QString::fromStdString(data_.chordKey), chordRoom);
        const double chordWidth = QFontMetricsF(chordFont()).horizontalAdvance(shown.chord);
        shown.chordBox = QRectF(right - chordWidth, 0, chordWidth, height());
    }
    const double nameRoom = shown.chord.isEmpty() ? room : shown.chordBox.left() - kNameToChord - left;
    shown.name = nameMetrics.elidedText(name, Qt::ElideRight, std::max(0.0, nameRoom));
    shown.nameBox = QRectF(left, 0, std::max(0.0, nameRoom), height());
    return shown;
}

void DockRow::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    hover_.setOn(true);
}

void DockRow::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    hover_.setOn(false);
}

void DockRow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressedAt_ = event->position().toPoint();
    QAbstractButton::mousePressEvent(event);
}

void DockRow::mouseMoveEvent(QMouseEvent* event) {
    const bool dragging =
        (event->buttons() & Qt::LeftButton) &&
        (event->position().toPoint() - pressedAt_).manhattanLength() >= QApplication::startDragDistance();
    if (!dragging || busy_ > 0) return QAbstractButton::mouseMoveEvent(event);
    startDrag();
}

void DockRow::startDrag() {
    // The drag takes the release: the press must not end as a click.
    setDown(false);
    const QPixmap picture = grab();
    const Uuid id = data_.id;
    auto* drag = new QDrag(this);
    drag->setMimeData(dragData(id));
    drag->setPixmap(picture);
    drag->setHotSpot(pressedAt_);
    model_.dragStarted(id);
    // The session ends at the drop on a row, or by the placement controller's watch of the
    // release; not when exec returns, which may be before a drop elsewhere is handled.
    whileBusy([drag] { drag->exec(Qt::MoveAction); });
}

void DockRow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
            Q_EMIT moveRequested(-1);
            return;
        case Qt::Key_Down:
            Q_EMIT moveRequested(1);
            return;
        case Qt::Key_Home:
            Q_EMIT moveRequested(-int(kMaxProfiles));
            return;
        case Qt::Key_End:
            Q_EMIT moveRequested(int(kMaxProfiles));
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            click();
            return;
        default:
            QAbstractButton::keyPressEvent(event);
    }
}

void DockRow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* remove = menu.addAction(menuTitle(data_.removeTitle));
    QAction* chosen = nullptr;
    whileBusy([&] { chosen = menu.exec(event->globalPos()); });
    if (chosen == remove && !retired_) askToRemove();
}

void DockRow::dragEnterEvent(QDragEnterEvent* event) {
    const bool offers = offersDockRow(event->mimeData());
    model_.dragEntered(data_.id, offers);
    if (!model_.acceptsDrop(offers)) return event->ignore();
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void DockRow::dragMoveEvent(QDragMoveEvent* event) {
    if (!model_.acceptsDrop(offersDockRow(event->mimeData()))) return event->ignore();
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void DockRow::dropEvent(QDropEvent* event) {
    if (!model_.dropped(offersDockRow(event->mimeData()))) return event->ignore();
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

}  // namespace quillbern
