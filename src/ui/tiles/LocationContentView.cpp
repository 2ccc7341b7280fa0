#include "ui/tiles/LocationContentView.h"

#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <map>

#include "core/foundation/Localization.h"
#include "ui/foundation/IconBesideText.h"
#include "ui/foundation/QtIcons.h"
#include "ui/foundation/QtText.h"
#include "ui/foundation/Symbols.h"
#include "ui/tiles/FileCell.h"

namespace quillbern {

namespace {

constexpr int kHeaderIcon = 18;
constexpr int kHeaderSpacing = 8;
constexpr int kHeaderSides = 14;
constexpr int kNotePadding = 24;

QFont sized(int pixels, QFont::Weight weight = QFont::Normal) {
    QFont font;
    font.setPixelSize(pixels);
    font.setWeight(weight);
    return font;
}

QColor secondary(const QPalette& palette) {
    QColor colour = palette.color(QPalette::WindowText);
    colour.setAlphaF(0.6f);
    return colour;
}

}  // namespace

LocationContentView::LocationContentView(LocationBrowser& browser, PinnedStore& store, const PinnedLocation& location,
                                         const Uuid& profileID, std::function<void()> dismiss, QWidget* parent)
    : QWidget(parent),
      browser_(browser),
      dismiss_(std::move(dismiss)),
      model_(std::make_unique<LocationContent>(browser, store, location, profileID,
                                               [this] {
                                                   if (dismiss_) dismiss_();
                                               })),
      header_(new QWidget(this)),
      headerGrid_(new QGridLayout),
      folderIcon_(new QLabel(this)),
      name_(new QLabel(this)),
      truncation_(new QLabel(this)),
      open_(new QToolButton(this)),
      note_(new QLabel(this)),
      spinner_(new QProgressBar(this)),
      scroll_(new QScrollArea(this)),
      grid_(new QWidget) {
    header_->setLayout(headerGrid_);
    headerGrid_->setHorizontalSpacing(kHeaderSpacing);
    headerGrid_->setVerticalSpacing(4);
    headerGrid_->setContentsMargins(kHeaderSides, 12, kHeaderSides, 8);
    headerGrid_->setColumnStretch(2, 1);
    folderIcon_->setFixedSize(kHeaderIcon, kHeaderIcon);
    name_->setFont(sized(12, kHeadingWeight));
    name_->setTextFormat(Qt::PlainText);
    truncation_->setFont(sized(11));
    truncation_->setText(
        QString::fromStdString(trn("Showing the %lld most recent item", "Showing the %lld most recent items",
                                   LocationBrowser::kShownItems, LocationBrowser::kShownItems)));
    QPalette quiet = truncation_->palette();
    quiet.setColor(QPalette::WindowText, secondary(palette()));
    truncation_->setPalette(quiet);
    truncation_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    open_->setText(localized("Open in File Manager"));
    setIconBesideText(*open_, symbolIcon("arrow.up.forward.square"));
    open_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    open_->setAutoRaise(true);
    open_->setFont(sized(11, QFont::Medium));
    open_->setPalette(quiet);
    connect(open_, &QToolButton::clicked, this, [this] { model_->openFolder(); });
    headerGrid_->addWidget(folderIcon_, 0, 0);
    headerGrid_->addWidget(name_, 0, 1);
    headerGrid_->addWidget(truncation_, 0, 2);

    note_->setAlignment(Qt::AlignCenter);
    note_->setWordWrap(true);
    // A frame resets its contents margins when its style changes; the label keeps its own.
    note_->setMargin(kNotePadding);
    spinner_->setRange(0, 0);
    spinner_->setTextVisible(false);
    spinner_->setMaximumSize(64, 6);
    scroll_->setWidget(grid_);
    scroll_->setWidgetResizable(false);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->viewport()->setAutoFillBackground(false);
    grid_->setAutoFillBackground(false);
    connect(scroll_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { markCellsInView(); });

    auto* body = new QVBoxLayout(this);
    body->setSpacing(0);
    body->setContentsMargins(0, 0, 0, 0);
    body->setSizeConstraint(QLayout::SetFixedSize);
    body->addWidget(header_);
    body->addWidget(note_, 0, Qt::AlignCenter);
    body->addWidget(spinner_, 0, Qt::AlignCenter);
    body->addWidget(scroll_);

    observer_ = model_->changed.connect([this] { sync(); });
    sync();
}

LocationContentView::~LocationContentView() {
    observer_.reset();
    model_->disappear();
}

bool LocationContentView::showsSpinner() const {
    return !spinner_->isHidden();
}

bool LocationContentView::showsGrid() const {
    return !scroll_->isHidden();
}

void LocationContentView::showEvent(QShowEvent*) {
    markCellsInView();
    if (appeared_) return;
    appeared_ = true;
    model_->appear();
}

void LocationContentView::hideEvent(QHideEvent*) {
    model_->disappear();
}

double LocationContentView::scrollerWidth() const {
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll_);
}

void LocationContentView::sync() {
    const LocationContent& m = *model_;
    const PinnedLocation& location = m.location();
    const int width = static_cast<int>(std::ceil(m.popoverWidth(scrollerWidth())));
    const int gridHeight = static_cast<int>(std::ceil(m.gridFrameHeight()));
    showIconIn(*folderIcon_, qIcon(QtIcons().fileIcon(location.path)), kHeaderIcon);
    name_->setText(QString::fromStdString(location.name));
    truncation_->setVisible(m.truncated());

    QString note;
    if (m.vanished()) {
        note = localized("Folder not found");
    } else if (m.denied()) {
        note = localized(
            "Quillbern can't read this folder. You may not have permission to open it — or the folder moved.");
    } else if (m.loaded() && m.entries().empty()) {
        note = localized("Folder is empty");
    }
    note_->setText(note);
    note_->setVisible(!note.isEmpty());
    note_->setMaximumWidth(width);
    spinner_->setVisible(note.isEmpty() && !m.loaded());
    scroll_->setVisible(note.isEmpty() && m.loaded());
    spinner_->setMaximumWidth(std::min(64, width));
    scroll_->setFixedSize(width, gridHeight);
    header_->setFixedWidth(width);
    placeOpenButton(width - 2 * kHeaderSides);

    // Cells stay by path, so those that stay keep their thumbnails.
    std::map<Path, FileCell*> kept;
    for (FileCell* cell : cells_)
        kept.emplace(cell->entry().path, cell);
    std::vector<FileCell*> cells;
    if (scroll_->isVisibleTo(this)) {
        for (const LocationEntry& entry : m.entries()) {
            FileCell* cell;
            if (const auto it = kept.find(entry.path); it != kept.end()) {
                cell = it->second;
                kept.erase(it);
                cell->setEntry(entry);
            } else {
                cell = new FileCell(entry, browser_.thumbnails(), grid_);
                cell->onOpen = [this, cell] { model_->openItem(cell->entry()); };
                cell->onReveal = [this, cell] { model_->revealItem(cell->entry()); };
                cell->show();
            }
            cells.push_back(cell);
        }
    }
    for (auto& [path, cell] : kept)
        delete cell;
    cells_ = std::move(cells);
    placeCells();
    adjustSize();
    if (onResized) onResized();
}

void LocationContentView::placeOpenButton(int room) {
    // Long translations of its text do not fit beside the folder's name and the note: then
    // it takes a line of its own, which it may fill.
    int beside = kHeaderIcon + kHeaderSpacing + name_->sizeHint().width() + kHeaderSpacing;
    if (truncation_->isVisibleTo(this)) beside += truncation_->sizeHint().width() + kHeaderSpacing;
    const bool below = beside + open_->sizeHint().width() > room;
    headerGrid_->removeWidget(open_);
    if (below) {
        headerGrid_->addWidget(open_, 1, 0, 1, 4, Qt::AlignRight);
    } else {
        headerGrid_->addWidget(open_, 0, 3);
    }
}

void LocationContentView::placeCells() {
    const LocationContent& m = *model_;
    const int columns = m.columns();
    const int gridWidth = scroll_->width() -
                          (m.rawGridHeight() > LocationContent::kMaxGridHeight ? static_cast<int>(scrollerWidth()) : 0);
    const double used = columns * LocationContent::kColumnWidth + (columns - 1) * LocationContent::kSpacing;
    const double left = std::max(LocationContent::kGridMargin, (gridWidth - used) / 2);
    const double step = LocationContent::kColumnWidth + LocationContent::kSpacing;
    const double rowStep = LocationContent::kRowHeight + LocationContent::kSpacing;
    for (std::size_t i = 0; i < cells_.size(); ++i) {
        const auto column = static_cast<int>(i % static_cast<std::size_t>(columns));
        const auto row = static_cast<int>(i / static_cast<std::size_t>(columns));
        cells_[i]->move(static_cast<int>(std::lround(left + column * step)),
                        static_cast<int>(std::lround(LocationContent::kGridMargin + row * rowStep)));
    }
    grid_->resize(gridWidth, static_cast<int>(std::ceil(m.rawGridHeight())));
    markCellsInView();
}

void LocationContentView::markCellsInView() {
    const QRect visible(QPoint(0, scroll_->verticalScrollBar()->value()), scroll_->viewport()->size());
    for (FileCell* cell : cells_)
        cell->setInView(isVisible() && cell->geometry().intersects(visible));
}

}  // namespace quillbern
