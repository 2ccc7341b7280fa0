#include "ui/palettes/ShortcutSheetView.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/platform/SystemAppearance.h"
#include "ui/foundation/QtText.h"
#include "ui/foundation/Symbols.h"
#include "ui/model/BarBackground.h"
#include "ui/palettes/ElidedLabel.h"
#include "ui/palettes/PaletteSlabView.h"
#include "ui/palettes/PaletteText.h"

namespace quillbern {

namespace {

// The slab stands this far inside the view on every side.
constexpr int kMinWidth = 380;
constexpr int kMaxWidth = 560;
constexpr int kSide = 22;
constexpr int kRowHeight = 26;
constexpr int kRowSpacing = 2;
constexpr int kColumnSpacing = 18;
constexpr int kIconColumn = 12;
constexpr int kDockMarkSize = 10;
// Between a name and its chord at least.
constexpr int kLeastGap = 24;
constexpr int kEmptyTextWidth = 320;

QFont chordFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(12);
    font.setWeight(QFont::Medium);
    return font;
}

// A widget in a box of its own margins.
QWidget* inset(QWidget* content, QMargins margins, QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(margins);
    layout->addWidget(content);
    return box;
}

// The stack that marks a dock's line.
class DockMark final : public QWidget {
public:
    explicit DockMark(QWidget* parent) : QWidget(parent) {
        setFixedSize(kIconColumn, kRowHeight);
        makeSecondary(*this);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const double side = kDockMarkSize;
        paintSymbol(painter, QRectF((width() - side) / 2, (height() - side) / 2, side, side), "square.stack.3d.up",
                    palette().color(QPalette::WindowText));
    }
};

// Takes the height of its whole content, so the sheet measures the full list; shorter
// when the sheet is cut, and then it scrolls.
class FittingScrollArea final : public QScrollArea {
public:
    explicit FittingScrollArea(QWidget* parent) : QScrollArea(parent) {}
    QSize sizeHint() const override { return widget() ? widget()->sizeHint() : QSize(); }
    QSize minimumSizeHint() const override { return {0, 0}; }
};

QWidget* rowView(const ShortcutSheetRow& row, QWidget* parent) {
    auto* line = new QWidget(parent);
    line->setFixedHeight(kRowHeight);
    auto* layout = new QHBoxLayout(line);
    layout->setContentsMargins(kSide, 0, kSide, 0);
    layout->setSpacing(0);
    if (row.isDock) {
        layout->addWidget(new DockMark(line));
    } else {
        layout->addSpacing(kIconColumn);
    }
    layout->addSpacing(kColumnSpacing);
    // The name takes the room to spare: drawn from the left, it leaves that room empty,
    // and it never loses its middle while there is any.
    auto* name = new ElidedLabel(QString::fromStdString(row.label), line);
    name->setFont(fontOfSize(13));
    name->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    layout->addWidget(name);
    layout->addSpacing(kColumnSpacing + kLeastGap + kColumnSpacing);
    if (row.isHeld) {
        // TRANSLATORS: shown before a shortcut that acts only while its keys are held down: an
        // instruction to hold them, in the sheet's list of shortcuts.
        layout->addWidget(paletteLabel(localized("hold"), fontOfSize(10), true, line));
        layout->addSpacing(kColumnSpacing);
    }
    QLabel* chord = paletteLabel(QString::fromStdString(row.chord), chordFont(), true, line);
    chord->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    layout->addWidget(chord);
    return line;
}

}  // namespace

ShortcutSheetView::ShortcutSheetView(const std::vector<ShortcutSheetRow>& rows, SystemAppearance& system,
                                     QWidget* parent)
    : PaletteSlabView(system, parent) {
    QVBoxLayout* stack = content();

    QLabel* title = paletteLabel(localized("Keyboard shortcuts"), fontOfSize(15, kHeadingWeight), false, this);
    title->setObjectName(QStringLiteral("title"));
    stack->addWidget(inset(title, {kSide, 20, kSide, 4}, this));
    QLabel* subtitle =
        paletteLabel(localized("Everything Quillbern answers to right now."), fontOfSize(11.5), true, this);
    subtitle->setObjectName(QStringLiteral("subtitle"));
    stack->addWidget(inset(subtitle, {kSide, 0, kSide, 14}, this));

    if (rows.empty()) {
        const QString why = localized("No shortcuts are registered — global shortcuts are switched off in Settings.");
        QLabel* empty = paletteLabel(why, fontOfSize(12), true, this);
        empty->setObjectName(QStringLiteral("emptyState"));
        empty->setWordWrap(true);
        // Fixed to the lines it needs at the width it may take.
        const QFontMetrics metrics(empty->font());
        const int width = std::min(kEmptyTextWidth, metrics.horizontalAdvance(why));
        empty->setFixedSize(width, metrics.boundingRect(QRect(0, 0, width, 10000), Qt::TextWordWrap, why).height());
        auto* box = inset(empty, {kSide, 0, kSide, kSide}, this);
        static_cast<QHBoxLayout*>(box->layout())->addStretch();
        stack->addWidget(box);
    } else {
        auto* lines = new QWidget;
        auto* linesLayout = new QVBoxLayout(lines);
        linesLayout->setContentsMargins(0, 0, 0, 0);
        linesLayout->setSpacing(kRowSpacing);
        for (const ShortcutSheetRow& row : rows)
            linesLayout->addWidget(rowView(row, lines));
        list_ = new FittingScrollArea(this);
        list_->setObjectName(QStringLiteral("list"));
        list_->setFrameShape(QFrame::NoFrame);
        list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        list_->setWidgetResizable(true);
        list_->setWidget(lines);
        // Over the slab, not on a field of its own.
        lines->setAutoFillBackground(false);
        list_->viewport()->setAutoFillBackground(false);
        stack->addWidget(list_, 1);
        stack->addSpacing(16);
        QLabel* footer = paletteLabel(localized("Press any key to close · change any of these in Settings"),
                                      fontOfSize(10.5), true, this);
        footer->setObjectName(QStringLiteral("footer"));
        footer->setAlignment(Qt::AlignHCenter);
        stack->addWidget(footer);
        stack->addSpacing(16);
    }
}

QSize ShortcutSheetView::sizeHint() const {
    const QSize content = layout()->sizeHint();
    const int margins = 2 * kPaletteSlabInset;
    return {std::clamp(content.width() - margins, kMinWidth, kMaxWidth) + margins, content.height()};
}

}  // namespace quillbern
