#include "ui/settings/ItemRows.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "core/tiles/DragTypes.h"
#include "ui/foundation/QtIcons.h"
#include "ui/foundation/QtText.h"
#include "ui/foundation/Symbols.h"
#include "ui/settings/EditorRowChrome.h"
#include "ui/settings/HoverRemoveButton.h"
#include "ui/settings/SettingsTheme.h"

namespace quillbern {

namespace {

constexpr int kIconSide = 24;
constexpr int kRowSpacing = 2;
constexpr int kTextSpacing = 8;
constexpr double kCaptionSize = 11;

const QString& pinType() {
    static const QString type = QString::fromLatin1(kPinnedItemDragType.data(), qsizetype(kPinnedItemDragType.size()));
    return type;
}

bool offersPin(const QMimeData* data) {
    return data && data->hasFormat(pinType());
}

// A path too long for its place keeps its start and its end.
class MiddleElidedLabel final : public QLabel {
public:
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }
    void setFullText(const QString& text) {
        full_ = text;
        elide();
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        elide();
    }

private:
    void elide() { setText(fontMetrics().elidedText(full_, Qt::ElideMiddle, std::max(width(), 1))); }
    QString full_;
};

}  // namespace

ItemRow::ItemRow(ItemRowsModel& model, const ItemRowData& data, QIcon icon, QWidget* parent)
    : QWidget(parent), model_(model), data_(data), icon_(new QLabel), title_(new QLabel), subtitle_(nullptr) {
    setAcceptDrops(true);
    auto* leading = new QWidget;
    auto* line = new QHBoxLayout(leading);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(kTextSpacing);
    icon_->setFixedSize(kIconSide, kIconSide);
    title_->setTextFormat(Qt::PlainText);
    line->addWidget(icon_);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(0);
    texts->addWidget(title_);
    if (data_.kind == ItemRowData::Kind::location) {
        auto* path = new MiddleElidedLabel;
        path->setTextFormat(Qt::PlainText);
        path->setFont(fontOfSize(kCaptionSize));
        QPalette secondary = path->palette();
        secondary.setColor(QPalette::WindowText, SettingsTheme::tone(SettingsTone::secondary, palette()));
        path->setPalette(secondary);
        subtitle_ = path;
        texts->addWidget(path);
    }
    line->addLayout(texts, 1);
    leading->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    chrome_ = new EditorRowChrome(localized("Remove from dock"), leading);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(chrome_);
    connect(chrome_, &EditorRowChrome::removeRequested, this, [this] {
        if (!retired_) model_.remove(data_);
    });
    applyData(std::move(icon));
}

void ItemRow::setData(const ItemRowData& data, QIcon icon) {
    if (data == data_) return;
    data_ = data;
    applyData(std::move(icon));
}

void ItemRow::applyData(QIcon icon) {
    showIconIn(*icon_, icon, kIconSide);
    title_->setText(QString::fromStdString(data_.title));
    if (auto* path = static_cast<MiddleElidedLabel*>(subtitle_)) {
        path->setFullText(QString::fromStdString(data_.subtitle));
        path->setToolTip(toolTipAsWritten(QString::fromStdString(data_.path)));
    }
    chrome_->setAccessibleName(QString::fromStdString(data_.title));
}

void ItemRow::retire() {
    retired_ = true;
    hide();
    if (!dragging_) deleteLater();
}

QMimeData* ItemRow::dragData(const std::string& itemID) {
    auto* data = new QMimeData;
    data->setData(pinType(), QByteArray::fromStdString(itemID));
    return data;
}

void ItemRow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressedAt_ = event->position().toPoint();
    QWidget::mousePressEvent(event);
}

void ItemRow::mouseMoveEvent(QMouseEvent* event) {
    const bool moved =
        (event->buttons() & Qt::LeftButton) &&
        (event->position().toPoint() - pressedAt_).manhattanLength() >= QApplication::startDragDistance();
    if (!moved || dragging_ || retired_) return QWidget::mouseMoveEvent(event);
    auto* drag = new QDrag(this);
    drag->setMimeData(dragData(data_.itemID));
    drag->setPixmap(grab());
    drag->setHotSpot(pressedAt_);
    model_.dragStarted(data_.itemID);
    // The session ends at a drop on a row, or by the placement controller's watch of the
    // release. Meanwhile the row must outlive the drag's own loop.
    dragging_ = true;
    drag->exec(Qt::MoveAction);
    dragging_ = false;
    if (retired_) deleteLater();
}

void ItemRow::dragEnterEvent(QDragEnterEvent* event) {
    const bool offers = offersPin(event->mimeData());
    model_.dragEntered(data_.itemID, offers);
    if (!model_.acceptsDrop(offers)) return event->ignore();
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void ItemRow::dragMoveEvent(QDragMoveEvent* event) {
    if (!model_.acceptsDrop(offersPin(event->mimeData()))) return event->ignore();
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void ItemRow::dropEvent(QDropEvent* event) {
    if (!model_.dropped(offersPin(event->mimeData()))) return event->ignore();
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

ItemRows::ItemRows(ItemRowsModel& model, AppIcon appIcon, std::function<QIcon(const std::string&)> folderIcon,
                   QIcon trashIcon, QWidget* parent)
    : QWidget(parent),
      model_(model),
      appIcon_(std::move(appIcon)),
      folderIcon_(std::move(folderIcon)),
      trashIcon_(std::move(trashIcon)),
      layout_(new QVBoxLayout(this)) {
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(kRowSpacing);
    sync();
}

QIcon ItemRows::iconOf(const ItemRowData& data) const {
    switch (data.kind) {
        case ItemRowData::Kind::app: {
            QIcon icon = data.app ? appIcon_(*data.app) : QIcon();
            return icon.isNull() ? symbolIcon("questionmark.app.dashed") : icon;
        }
        case ItemRowData::Kind::location:
            return folderIcon_(data.path);
        case ItemRowData::Kind::trash:
            return trashIcon_.isNull() ? symbolIcon("trash") : trashIcon_;
    }
    return {};
}

void ItemRows::sync() {
    const std::vector<ItemRowData> wanted = model_.rows();
    for (auto it = rowsByItem_.begin(); it != rowsByItem_.end();) {
        const bool stays = std::ranges::any_of(wanted, [&](const ItemRowData& r) { return r.itemID == it->first; });
        if (stays) {
            ++it;
            continue;
        }
        layout_->removeWidget(it->second);
        it->second->retire();
        it = rowsByItem_.erase(it);
    }
    bool moved = false;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        ItemRow*& row = rowsByItem_[wanted[i].itemID];
        if (!row) {
            row = new ItemRow(model_, wanted[i], iconOf(wanted[i]));
        } else if (row->data() != wanted[i]) {
            row->setData(wanted[i], iconOf(wanted[i]));
        }
        // Moved, never made again: the row whose drag reorders the list lives on.
        if (layout_->indexOf(row) != int(i)) {
            layout_->removeWidget(row);
            layout_->insertWidget(int(i), row);
            row->show();
            moved = true;
        }
    }
    if (!moved) return;
    // The keyboard reaches the remove buttons in the reading order, whenever rows were made.
    const std::vector<ItemRow*> ordered = rows();
    for (std::size_t i = 1; i < ordered.size(); ++i)
        setTabOrder(&ordered[i - 1]->chrome().removeButton(), &ordered[i]->chrome().removeButton());
}

std::vector<ItemRow*> ItemRows::rows() const {
    std::vector<ItemRow*> ordered;
    for (int i = 0; i < layout_->count(); ++i)
        if (auto* row = dynamic_cast<ItemRow*>(layout_->itemAt(i)->widget())) ordered.push_back(row);
    return ordered;
}

ItemRow* ItemRows::row(const std::string& itemID) const {
    const auto found = rowsByItem_.find(itemID);
    return found == rowsByItem_.end() ? nullptr : found->second;
}

}  // namespace quillbern
