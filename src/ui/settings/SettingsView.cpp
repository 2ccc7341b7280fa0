#include "ui/settings/SettingsView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "ui/foundation/QtText.h"
#include "ui/foundation/Symbols.h"

namespace quillbern {

namespace {

constexpr int kSidebarWidth = 180;
constexpr QSize kIdealSize(920, 760);
constexpr QSize kMinimumSize(740, 520);

const SettingsSectionInfo& infoOf(SettingsSection section) {
    return settingsSections()[static_cast<std::size_t>(section)];
}

// A section's page frame; its settings come with the panes.
QWidget* makePage(const SettingsSectionInfo& info) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(28, 24, 28, 24);
    auto* heading = new QLabel(localized(info.title), page);
    heading->setObjectName(QStringLiteral("pageTitle"));
    QFont font = heading->font();
    font.setPointSizeF(font.pointSizeF() * 1.6);
    font.setWeight(QFont::DemiBold);
    heading->setFont(font);
    layout->addWidget(heading);
    layout->addStretch(1);
    return page;
}

}  // namespace

const std::array<SettingsSectionInfo, 8>& settingsSections() {
    static const std::array<SettingsSectionInfo, 8> sections{{
        {SettingsSection::general, "General", "gearshape"},
        {SettingsSection::docks, "Docks", "square.stack.3d.up"},
        {SettingsSection::appearance, "Appearance", "paintbrush"},
        {SettingsSection::previews, "Hover previews", "eye"},
        {SettingsSection::permissions, "Permissions", "lock.shield"},
        {SettingsSection::support, "Support", "bubble.left.and.text.bubble.right"},
        {SettingsSection::help, "Help", "questionmark.circle"},
        {SettingsSection::about, "About", "info.circle"},
    }};
    return sections;
}

SettingsView::SettingsView(QWidget* parent) : QWidget(parent), sidebar_(new QListWidget(this)) {
    setMinimumSize(kMinimumSize);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    sidebar_->setSelectionMode(QAbstractItemView::SingleSelection);
    sidebar_->setFixedWidth(kSidebarWidth);
    sidebar_->setIconSize(QSize(18, 18));
    for (const SettingsSectionInfo& info : settingsSections())
        new QListWidgetItem(symbolIcon(info.symbol), localized(info.title), sidebar_);
    sidebar_->setCurrentRow(0);
    layout->addWidget(sidebar_);

    detail_ = new QVBoxLayout;
    detail_->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(detail_, 1);
    showPage();

    QObject::connect(sidebar_, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> chosen = sidebar_->selectedItems();
        // The sidebar may offer to select nothing; the section stays.
        if (chosen.isEmpty()) {
            sidebar_->item(static_cast<int>(section_))->setSelected(true);
            return;
        }
        select(static_cast<SettingsSection>(sidebar_->row(chosen.front())));
    });
}

void SettingsView::select(SettingsSection section) {
    if (section == section_ && page_) return;
    section_ = section;
    const int row = static_cast<int>(section);
    if (sidebar_->currentRow() != row) sidebar_->setCurrentRow(row);
    showPage();
}

void SettingsView::showPage() {
    if (page_) {
        detail_->removeWidget(page_);
        page_->deleteLater();
    }
    page_ = makePage(infoOf(section_));
    page_->setParent(this);
    detail_->addWidget(page_);
}

QSize SettingsView::sizeHint() const {
    return kIdealSize;
}

}  // namespace quillbern
