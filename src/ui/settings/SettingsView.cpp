#include "ui/settings/SettingsView.h"

#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QSplitter>
#include <QVBoxLayout>

#include "ui/foundation/QtText.h"
#include "ui/settings/FocusedWheel.h"
#include "ui/settings/SettingsAccessible.h"
#include "ui/settings/SettingsPage.h"
#include "ui/settings/SettingsPanes.h"
#include "ui/settings/SettingsTheme.h"

namespace quillbern {

namespace {

constexpr int kSidebarMinimum = 165;
constexpr int kSidebarIdeal = 180;
constexpr int kSidebarMaximum = 220;
constexpr int kSidebarSymbolSide = 18;
constexpr int kSidebarMargin = 8;
constexpr int kSidebarRowSpacing = 3;
constexpr QSize kIdealSize(920, 760);
constexpr QSize kMinimumSize(740, 520);

// A sidebar row is its section's value, which the table of sections lists in order.
static_assert([] {
    for (std::size_t row = 0; row < settingsSections().size(); ++row)
        if (static_cast<std::size_t>(settingsSections()[row].section) != row) return false;
    return true;
}());

}  // namespace

SettingsView::SettingsView(const SettingsServices& services, QWidget* parent)
    : QWidget(parent),
      services_(services),
      model_(services_),
      split_(new QSplitter(Qt::Horizontal, this)),
      sidebar_(new QListWidget),
      title_(new QLabel),
      wheel_(new FocusedWheel(*this)) {
    installSettingsAccessibility();
    setMinimumSize(kMinimumSize);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(split_);

    sidebar_->setSelectionMode(QAbstractItemView::SingleSelection);
    sidebar_->setMinimumWidth(kSidebarMinimum);
    sidebar_->setMaximumWidth(kSidebarMaximum);
    sidebar_->setIconSize(QSize(kSidebarSymbolSide, kSidebarSymbolSide));
    sidebar_->setAccessibleName(localized("Sections"));
    sidebar_->setFrameShape(QFrame::NoFrame);
    // Rows clear of the window's edges and of each other, as the cards' rows are.
    sidebar_->setContentsMargins(kSidebarMargin, kSidebarMargin, kSidebarMargin, kSidebarMargin);
    sidebar_->setSpacing(kSidebarRowSpacing);
    for (const SettingsSectionInfo& info : settingsSections())
        new QListWidgetItem(localized(info.title), sidebar_);
    paintSymbols();
    split_->addWidget(sidebar_);

    auto* detail = new QWidget;
    detail_ = new QVBoxLayout(detail);
    detail_->setContentsMargins(0, 0, 0, 0);
    detail_->setSpacing(0);
    title_->setFont(fontOfSize(18, kHeadingWeight));
    title_->setContentsMargins(24, 16, 24, 4);
    detail_->addWidget(title_);
    split_->addWidget(detail);
    split_->setChildrenCollapsible(false);
    split_->setStretchFactor(1, 1);
    split_->setSizes({kSidebarIdeal, kIdealSize.width() - kSidebarIdeal});

    QObject::connect(sidebar_, &QListWidget::itemSelectionChanged, this, [this] { sidebarChose(); });
    sectionChanged_ = model_.sectionChanged.connect([this] { showSection(); });
    showSection();
    setFocusProxy(sidebar_);
}

SettingsView::~SettingsView() = default;

void SettingsView::paintSymbols() {
    for (const SettingsSectionInfo& info : settingsSections()) {
        sidebar_->item(static_cast<int>(info.section))
            ->setIcon(SettingsTheme::labelSymbol(info.symbol, palette(), kSidebarSymbolSide, devicePixelRatioF()));
    }
}

void SettingsView::sidebarChose() {
    // The row chosen is the selected one other than the section's; none selected is a
    // request to select nothing, which keeps the section.
    std::optional<SettingsSection> chosen;
    for (const QListWidgetItem* item : sidebar_->selectedItems()) {
        const auto section = static_cast<SettingsSection>(sidebar_->row(item));
        if (!chosen || section != model_.section()) chosen = section;
    }
    model_.select(chosen);
    showSection();
}

void SettingsView::showSection() {
    const SettingsSectionInfo& info = infoOf(model_.section());
    const int row = static_cast<int>(info.section);
    const QList<QListWidgetItem*> selected = sidebar_->selectedItems();
    if (selected.size() != 1 || selected.front() != sidebar_->item(row) || sidebar_->currentRow() != row) {
        const QSignalBlocker quiet(sidebar_);
        sidebar_->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
        sidebar_->viewport()->update();
    }
    if (shown_ == info.section) return;
    shown_ = info.section;
    title_->setText(localized(info.title));
    if (pane_) {
        pane_->hide();
        detail_->removeWidget(pane_);
        pane_->deleteLater();
    }
    pane_ = makeSettingsPane(info.section, services_).release();
    // Its page scrolls by the keyboard too, and is named after the section.
    QList<SettingsPage*> pages = pane_->findChildren<SettingsPage*>();
    if (auto* page = dynamic_cast<SettingsPage*>(pane_)) pages << page;
    for (SettingsPage* page : pages)
        if (page->accessibleName().isEmpty()) page->setAccessibleName(title_->text());
    detail_->addWidget(pane_, 1);
}

QSize SettingsView::sizeHint() const {
    return kIdealSize;
}

void SettingsView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    wheel_->watchWindow();
    model_.appeared();
}

void SettingsView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) paintSymbols();
}

void SettingsView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    model_.disappeared();
}

}  // namespace quillbern
