#include "ui/palettes/FileSearchView.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <cmath>

#include "core/foundation/Localization.h"
#include "core/palettes/PaletteKeys.h"
#include "core/platform/SystemAppearance.h"
#include "core/shortcuts/ChordText.h"
#include "ui/foundation/QtIcons.h"
#include "ui/foundation/QtText.h"
#include "ui/foundation/Symbols.h"
#include "ui/model/BarBackground.h"
#include "ui/palettes/ElidedLabel.h"
#include "ui/palettes/PaletteField.h"
#include "ui/palettes/PaletteSlabView.h"
#include "ui/palettes/PaletteText.h"
#include "ui/palettes/SymbolMark.h"

namespace quillbern {

namespace {

constexpr int kWidth = 560;
constexpr int kFieldRowHeight = 64;
constexpr int kRowHeight = 44;
constexpr int kRowGap = 2;
constexpr int kListInset = 8;
// Eight rows, seven gaps and the insets fill 382; the area past 8 rows is a round 384.
constexpr int kScrollingHeight = 384;
constexpr int kRowsWithoutScrolling = 8;
constexpr int kIconSide = 32;
constexpr int kTrailingRoom = 44;

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

// A row's parts, in its own rectangle.
struct RowGeometry {
    QRect body;
    QRect icon;
    QRect text;
    QRect picker;
    QRect chevron;
};

RowGeometry rowGeometry(const QRect& item, bool isFolder) {
    RowGeometry g;
    // Half the gap above and below each row.
    g.body = item.adjusted(0, kRowGap / 2, 0, -kRowGap / 2);
    g.icon = QRect(g.body.left() + 10, g.body.center().y() - kIconSide / 2 + 1, kIconSide, kIconSide);
    const int textLeft = g.icon.right() + 1 + 10;
    g.text = QRect(textLeft, g.body.top(), g.body.right() - 10 - kTrailingRoom - textLeft, g.body.height());
    int right = g.body.right() - 12;
    if (isFolder) {
        g.chevron = QRect(right - 10 + 1, g.body.center().y() - 5, 10, 10);
        right = g.chevron.left() - 8;
    }
    g.picker = QRect(right - 16 + 1, g.body.center().y() - 8 + 1, 16, 16);
    return g;
}

// The entries of one list, as the list shows them now.
class FileRowModel final : public QAbstractListModel {
public:
    FileRowModel(std::vector<FileEntry> entries, const FileSearchViewInputs& inputs, QObject* parent)
        : QAbstractListModel(parent), inputs_(inputs), entries_(std::move(entries)) {
        const FileSearchState& state = *inputs.state;
        captions_.reserve(entries_.size());
        for (const FileEntry& entry : entries_)
            captions_.push_back(state.pathCaption(entry));
    }

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : int(entries_.size()); }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= int(entries_.size())) return {};
        const FileEntry& entry = entries_[std::size_t(index.row())];
        const std::optional<std::string>& caption = captions_[std::size_t(index.row())];
        if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) return qText(entry.name);
        if (role == FileSearchView::kCaptionRole) return caption ? qText(*caption) : QVariant();
        if (role == FileSearchView::kDateRole) {
            const std::optional<std::string> date =
                fileRowDate(entry, caption, *inputs_.text, inputs_.clock->wallNow());
            return date ? qText(*date) : QVariant();
        }
        return {};
    }
    const FileEntry& entry(int row) const { return entries_[std::size_t(row)]; }

private:
    const FileSearchViewInputs& inputs_;
    std::vector<FileEntry> entries_;
    std::vector<std::optional<std::string>> captions_;
};

class FileRowList;

class FileRowDelegate final : public QStyledItemDelegate {
public:
    FileRowDelegate(FileRowList& list, const FileSearchViewInputs& inputs)
        : QStyledItemDelegate(nullptr), list_(list), inputs_(inputs) {}
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return {kWidth - 2 * kListInset, kRowHeight + kRowGap};
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    FileRowList& list_;
    const FileSearchViewInputs& inputs_;
};

// The rows of one list, drawn as they come into view.
class FileRowList final : public QListView {
public:
    FileRowList(std::vector<FileEntry> entries, const FileSearchViewInputs& inputs, QWidget* parent)
        : QListView(parent), inputs_(inputs), delegate_(*this, inputs) {
        model_ = new FileRowModel(std::move(entries), inputs, this);
        setModel(model_);
        setItemDelegate(&delegate_);
        setObjectName(QStringLiteral("rows"));
        setFrameShape(QFrame::NoFrame);
        setFocusPolicy(Qt::NoFocus);
        setSelectionMode(QAbstractItemView::NoSelection);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setUniformItemSizes(true);
        setMouseTracking(true);
        setViewportMargins(kListInset, kListInset - kRowGap / 2, kListInset, kListInset - kRowGap / 2);
        viewport()->setAutoFillBackground(false);
        setAutoFillBackground(false);
        const int rows = model_->rowCount({});
        if (rows > kRowsWithoutScrolling) {
            setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            setFixedHeight(kScrollingHeight);
        } else {
            setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            setFixedHeight(2 * kListInset - kRowGap + rows * (kRowHeight + kRowGap));
        }
    }
    ~FileRowList() override { setItemDelegate(nullptr); }

    const FileRowModel& rows() const { return *model_; }
    int hoveredRow() const { return hovered_; }
    bool isSelected(int row) const {
        const std::optional<FileEntry> selected = inputs_.state->selectedEntry();
        return selected && selected->path == model_->entry(row).path;
    }
    bool showsPicker(int row) const { return row == hovered_ || isSelected(row); }
    void scrollToSelected() {
        if (verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff) return;
        const std::optional<Path>& id = inputs_.state->selectedID();
        if (!id) return;
        for (int row = 0; row < model_->rowCount({}); ++row) {
            if (model_->entry(row).path == *id) {
                scrollTo(model_->index(row), QAbstractItemView::EnsureVisible);
                return;
            }
        }
    }
    // Where the picker button of a row stands; empty when it is not shown.
    QRect pickerRect(int row) const {
        if (!showsPicker(row)) return {};
        return rowGeometry(visualRect(model_->index(row)), model_->entry(row).isFolder).picker.adjusted(-3, -3, 3, 3);
    }

protected:
    void mouseMoveEvent(QMouseEvent* event) override {
        setHovered(indexAt(event->position().toPoint()).row());
        QListView::mouseMoveEvent(event);
    }
    void leaveEvent(QEvent* event) override {
        setHovered(-1);
        QListView::leaveEvent(event);
    }
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override {
        event->accept();
        if (event->button() != Qt::LeftButton) return;
        const QPoint at = event->position().toPoint();
        const int row = indexAt(at).row();
        if (row < 0) return;
        // A copy: the palette may close and take this list with it.
        const FileEntry entry = model_->entry(row);
        if (pickerRect(row).contains(at)) {
            if (inputs_.picker) inputs_.picker(entry);
        } else if (inputs_.activate) {
            inputs_.activate(entry);
        }
    }
    bool viewportEvent(QEvent* event) override {
        if (event->type() == QEvent::ToolTip) {
            const auto* help = static_cast<QHelpEvent*>(event);
            const int row = indexAt(help->pos()).row();
            if (row >= 0 && pickerRect(row).contains(help->pos())) {
                QToolTip::showText(help->globalPos(),
                                   model_->entry(row).isFolder ? localized("Pin to a dock") : localized("Open with…"),
                                   viewport());
            } else {
                QToolTip::hideText();
            }
            return true;
        }
        return QListView::viewportEvent(event);
    }

private:
    void setHovered(int row) {
        if (row == hovered_) return;
        hovered_ = row;
        viewport()->update();
    }

    const FileSearchViewInputs& inputs_;
    FileRowDelegate delegate_;
    FileRowModel* model_ = nullptr;
    int hovered_ = -1;
};

void FileRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const int row = index.row();
    const FileEntry& entry = list_.rows().entry(row);
    const QVariant caption = index.data(FileSearchView::kCaptionRole);
    const RowGeometry g = rowGeometry(option.rect, entry.isFolder);
    const QPalette& palette = list_.palette();
    const QColor ink = palette.color(QPalette::WindowText);
    const QColor faint = secondaryColour(palette);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);

    const bool selected = list_.isSelected(row);
    if (selected || row == list_.hoveredRow()) {
        QColor fill = ink;
        fill.setAlphaF(selected ? 0.14f : 0.06f);
        QPainterPath shape;
        shape.addRoundedRect(QRectF(g.body), 10, 10);
        painter->fillPath(shape, fill);
    }
    paintIconFitted(*painter, QRectF(g.icon), qIcon(inputs_.state->icon(entry)));

    QRect textBox = g.text;
    if (const QVariant date = index.data(FileSearchView::kDateRole); date.isValid()) {
        painter->setFont(fontOfSize(11));
        painter->setPen(faint);
        const QString shown = date.toString();
        const int width = painter->fontMetrics().horizontalAdvance(shown);
        painter->drawText(QRect(textBox.right() - width + 1, textBox.top(), width, textBox.height()),
                          Qt::AlignRight | Qt::AlignVCenter, shown);
        textBox.setRight(textBox.right() - width - 8);
    }
    const QFont nameFont = fontOfSize(14);
    const QFontMetrics nameMetrics(nameFont);
    painter->setFont(nameFont);
    painter->setPen(ink);
    const QString name = nameMetrics.elidedText(qText(entry.name), Qt::ElideRight, textBox.width());
    if (caption.isValid()) {
        const QFont captionFont = fontOfSize(11);
        const QFontMetrics captionMetrics(captionFont);
        const int height = nameMetrics.height() + 1 + captionMetrics.height();
        const int top = textBox.center().y() - height / 2 + 1;
        painter->drawText(QRect(textBox.left(), top, textBox.width(), nameMetrics.height()),
                          Qt::AlignLeft | Qt::AlignVCenter, name);
        painter->setFont(captionFont);
        painter->setPen(faint);
        painter->drawText(
            QRect(textBox.left(), top + nameMetrics.height() + 1, textBox.width(), captionMetrics.height()),
            Qt::AlignLeft | Qt::AlignVCenter,
            captionMetrics.elidedText(caption.toString(), Qt::ElideLeft, textBox.width()));
    } else {
        painter->drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter, name);
    }

    if (list_.showsPicker(row))
        paintSymbol(*painter, QRectF(g.picker), entry.isFolder ? "pin.circle.fill" : "ellipsis.circle.fill", faint);
    if (entry.isFolder) paintSymbol(*painter, QRectF(g.chevron), "chevron.forward", faint);
    painter->restore();
}

// A centred text in the full width with room above and below.
QWidget* centredText(const QString& text, const QFont& font, bool secondary, int vertical, const QString& name,
                     QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(24, vertical, 24, vertical);
    QLabel* shown = paletteLabel(text, font, secondary, box);
    shown->setObjectName(name);
    shown->setAlignment(Qt::AlignCenter);
    shown->setWordWrap(true);
    layout->addWidget(shown);
    return box;
}

QString noMatchText(const FileSearchState& state) {
    return qText(trf("No files match “%@”", state.query()));
}

QProgressBar* spinner(int side, QWidget* parent) {
    auto* busy = new QProgressBar(parent);
    busy->setRange(0, 0);
    busy->setTextVisible(false);
    busy->setFixedSize(side * 3, side / 2);
    return busy;
}

}  // namespace

FileSearchView::FileSearchView(FileSearchViewInputs inputs, SystemAppearance& system, QWidget* parent)
    : PaletteSlabView(system, parent), inputs_(std::move(inputs)) {
    QVBoxLayout* stack = content();

    auto* fieldRow = new QWidget(this);
    fieldRow->setFixedSize(kWidth, kFieldRowHeight);
    auto* fieldLayout = new QHBoxLayout(fieldRow);
    fieldLayout->setContentsMargins(18, 0, 18, 0);
    fieldLayout->setSpacing(10);
    fieldLayout->addWidget(new SymbolMark("folder", 18, fieldRow));
    field_ = new PaletteField(fieldRow);
    field_->setPlaceholder(localized("Search or browse your files").toStdString());
    FileSearchState& state = *inputs_.state;
    field_->onEdit = [&state](const std::string& text) { state.setQuery(text); };
    field_->onMove = [&state](int step) { state.move(step); };
    field_->onReturn = [this] {
        if (const std::optional<FileEntry> selected = inputs_.state->selectedEntry()) {
            if (inputs_.activate) inputs_.activate(*selected);
        }
    };
    field_->onEscape = [&state] { state.setQuery(""); };
    field_->onDeleteEmpty = [&state] { state.goUp(); };
    fieldLayout->addWidget(field_, 1);
    clear_ = new QToolButton(fieldRow);
    clear_->setObjectName(QStringLiteral("clear"));
    clear_->setAutoRaise(true);
    clear_->setFocusPolicy(Qt::NoFocus);
    clear_->setIcon(symbolIcon("xmark.circle.fill", secondaryColour(palette()), 14, devicePixelRatioF()));
    clear_->setToolTip(localized("Clear"));
    connect(clear_, &QToolButton::clicked, this, [this] { inputs_.state->setQuery(""); });
    fieldLayout->addWidget(clear_);
    stack->addWidget(fieldRow);

    lowerBox_ = new QWidget(this);
    lower_ = new QVBoxLayout(lowerBox_);
    lower_->setContentsMargins(0, 0, 0, 0);
    lower_->setSpacing(0);
    stack->addWidget(lowerBox_);

    rebuild();
    signature_ = fileShapeSignature(state);
    stateObserver_ = state.changed.connect([this] { stateChanged(); });
}

FileSearchView::~FileSearchView() = default;

void FileSearchView::stateChanged() {
    if (rebuilding_) return;
    FileSearchState& state = *inputs_.state;
    std::vector<std::string> signature = fileShapeSignature(state);
    if (signature != signature_) {
        signature_ = std::move(signature);
        rebuilding_ = true;
        rebuild();
        state.reconcile();
        rebuilding_ = false;
        signature_ = fileShapeSignature(state);
        if (inputs_.onShapeChange) inputs_.onShapeChange();
    }
    field_->setQuery(state.query());
    clear_->setVisible(!state.query().empty());
    if (noMatch_) noMatch_->setText(noMatchText(state));
    if (list_) {
        list_->viewport()->update();
        followSelection();
    }
}

void FileSearchView::followSelection() {
    static_cast<FileRowList*>(list_)->scrollToSelected();
}

void FileSearchView::rebuild() {
    // Widgets go later: a click on a row may be what got here.
    while (QLayoutItem* item = lower_->takeAt(0)) {
        if (QWidget* widget = item->widget()) {
            widget->hide();
            widget->deleteLater();
        }
        delete item;
    }
    list_ = nullptr;
    noMatch_ = nullptr;
    const FileSearchState& state = *inputs_.state;
    clear_->setVisible(!state.query().empty());
    field_->setQuery(state.query());

    if (const std::optional<std::string> crumb = state.breadcrumb()) {
        auto* row = new QWidget(lowerBox_);
        row->setObjectName(QStringLiteral("breadcrumbRow"));
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(20, 0, 20, 8);
        layout->setSpacing(6);
        layout->addWidget(new SymbolMark("chevron.backward", 11, row));
        auto* path = new ElidedLabel(qText(*crumb), row, Qt::ElideLeft);
        path->setObjectName(QStringLiteral("breadcrumb"));
        path->setFont(fontOfSize(11));
        makeSecondary(*path);
        path->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        layout->addWidget(path, 1);
        QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        mono.setPixelSize(10);
        const std::string up = trf(
            // TRANSLATORS: a hint beside the path of the folder shown: %@ is the Backspace key,
            // which goes up to the enclosing folder.
            "%@ up", ChordText::ofNamedKeys({.keyCode = kBackspaceKey}));
        layout->addWidget(paletteLabel(qText(up), mono, true, row));
        lower_->addWidget(row);
    }
    auto* divider = new QFrame(lowerBox_);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Plain);
    makeSecondary(*divider);
    lower_->addWidget(divider);

    shown_ = fileListContent(state);
    switch (shown_) {
        case FileListContent::denied: {
            auto* card = new QWidget(lowerBox_);
            card->setObjectName(QStringLiteral("deniedCard"));
            auto* layout = new QVBoxLayout(card);
            layout->setContentsMargins(24, 16, 24, 16);
            layout->setSpacing(8);
            QLabel* why =
                paletteLabel(localized("Quillbern can't read this folder. You may not have permission to open it "
                                       "— or the folder moved."),
                             fontOfSize(13), true, card);
            why->setObjectName(QStringLiteral("deniedText"));
            why->setAlignment(Qt::AlignCenter);
            why->setWordWrap(true);
            layout->addWidget(why);
            if (inputs_.openSettings) {
                auto* open = new QPushButton(localized("Open Settings…"), card);
                open->setObjectName(QStringLiteral("openSettings"));
                open->setFocusPolicy(Qt::NoFocus);
                connect(open, &QPushButton::clicked, this, [task = inputs_.openSettings] { task(); });
                layout->addWidget(open, 0, Qt::AlignHCenter);
            }
            lower_->addWidget(card);
            break;
        }
        case FileListContent::noMatch: {
            QWidget* box =
                centredText(noMatchText(state), fontOfSize(13), false, 16, QStringLiteral("noMatch"), lowerBox_);
            noMatch_ = box->findChild<QLabel*>();
            lower_->addWidget(box);
            break;
        }
        case FileListContent::results: {
            list_ = new FileRowList(state.searchResults(), inputs_, lowerBox_);
            lower_->addWidget(list_);
            if (state.indexBuilding()) {
                auto* building = new QWidget(lowerBox_);
                building->setObjectName(QStringLiteral("building"));
                auto* layout = new QHBoxLayout(building);
                layout->setContentsMargins(0, 0, 0, 10);
                layout->setSpacing(6);
                layout->addStretch();
                layout->addWidget(spinner(12, building));
                layout->addWidget(paletteLabel(localized("Searching subfolders…"), fontOfSize(11), true, building));
                layout->addStretch();
                lower_->addWidget(building);
            }
            break;
        }
        case FileListContent::loading: {
            auto* box = new QWidget(lowerBox_);
            box->setObjectName(QStringLiteral("loading"));
            auto* layout = new QHBoxLayout(box);
            layout->setContentsMargins(0, 24, 0, 24);
            layout->addStretch();
            layout->addWidget(spinner(16, box));
            layout->addStretch();
            lower_->addWidget(box);
            break;
        }
        case FileListContent::level: {
            const std::span<const FileEntry> shown = state.browseEntries();
            list_ = new FileRowList(std::vector<FileEntry>(shown.begin(), shown.end()), inputs_, lowerBox_);
            lower_->addWidget(list_);
            if (const std::optional<std::string> footer = fileCountFooter(state)) {
                QWidget* box =
                    centredText(qText(*footer), fontOfSize(10), true, 0, QStringLiteral("footer"), lowerBox_);
                box->layout()->setContentsMargins(0, 0, 0, 8);
                lower_->addWidget(box);
            }
            break;
        }
        case FileListContent::empty:
            // TRANSLATORS: %@ is the Backspace key.
            lower_->addWidget(centredText(qText(trf("This folder is empty — %@ goes back up",
                                                    ChordText::ofNamedKeys({.keyCode = kBackspaceKey}))),
                                          fontOfSize(13), false, 16, QStringLiteral("emptyFolder"), lowerBox_));
            break;
    }
    if (list_) followSelection();
}

QString FileSearchView::shownBreadcrumb() const {
    // Rows replaced a moment ago may still wait to be deleted, hidden.
    for (const ElidedLabel* path : findChildren<ElidedLabel*>(QStringLiteral("breadcrumb"))) {
        if (path->isVisibleTo(this)) return path->shownText();
    }
    return {};
}

QSize FileSearchView::sizeHint() const {
    return {kWidth + 2 * kPaletteSlabInset, layout()->sizeHint().height()};
}

}  // namespace quillbern
