#include "ui/settings/DocksPane.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "core/settings/MakerAddresses.h"
#include "ui/foundation/QtIcons.h"
#include "ui/foundation/QtText.h"
#include "ui/foundation/Symbols.h"
#include "ui/settings/DockRow.h"
#include "ui/settings/ListBarButton.h"
#include "ui/settings/PaneBanner.h"
#include "ui/settings/ProfileDetailPane.h"
#include "ui/settings/SettingsTheme.h"

namespace quillbern {

namespace {

constexpr int kListMinimum = 180;
constexpr int kListMaximum = 240;
constexpr int kDetailMinimum = 380;
constexpr int kRowSpacing = 2;
constexpr int kListPadding = 6;
constexpr int kBarSpacing = 6;
constexpr QMargins kBarPadding(8, 5, 8, 5);
constexpr int kEmptySymbolSide = 34;
constexpr double kQuaternary = 0.18;

QString text(const std::string& english) {
    return QString::fromStdString(english);
}

// A hairline between two parts of a column.
class Divider final : public QWidget {
public:
    Divider() { setFixedHeight(1); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), SettingsTheme::separator(palette()));
    }
};

}  // namespace

DocksPane::DocksPane(ProfileDetailPane::Inputs editor, QWidget* parent)
    : QWidget(parent),
      editor_(std::move(editor)),
      chordText_(editor_.keyboardLayout, editor_.text),
      model_({.pinned = editor_.pinned,
              .preferences = editor_.preferences,
              .chordText = chordText_,
              .registeredChords = editor_.registeredChords,
              .mainLoop = editor_.mainLoop,
              .supportEmail = MakerAddresses::ofThisBuild().supportEmail}),
      recovery_(new PaneBanner("exclamationmark.triangle", SettingsTone::destructive, SettingsTone::destructive,
                               Qt::AlignTop)),
      undo_(new PaneBanner("arrow.uturn.backward", SettingsTone::secondary, SettingsTone::accent, Qt::AlignVCenter)),
      split_(new QSplitter(Qt::Horizontal)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    connect(recovery_->addButton(localized("Dismiss")), &QPushButton::clicked, this,
            [this] { model_.dismissRecovery(); });
    layout->addWidget(recovery_);
    undo_->setText(localized("Something was removed."));
    connect(undo_->addButton(QString()), &QPushButton::clicked, this, [this] { model_.undoRemoval(); });
    connect(undo_->addButton(localized("Dismiss")), &QPushButton::clicked, this, [this] { model_.dismissUndo(); });
    layout->addWidget(undo_);

    split_->setChildrenCollapsible(false);
    split_->addWidget(makeListColumn());
    split_->addWidget(makeDetailColumn());
    split_->setStretchFactor(1, 1);
    // The list takes all the room it may while the detail keeps its own; the detail grows.
    split_->setSizes({kListMaximum, kDetailMinimum});
    layout->addWidget(split_, 1);

    changed_ = model_.changed.connect([this] { sync(); });
    sync();
}

DocksPane::~DocksPane() = default;

QWidget* DocksPane::makeListColumn() {
    auto* column = new QWidget;
    column->setMinimumWidth(kListMinimum);
    column->setMaximumWidth(kListMaximum);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* rows = new QWidget;
    rowsLayout_ = new QVBoxLayout(rows);
    rowsLayout_->setContentsMargins(kListPadding, kListPadding, kListPadding, kListPadding);
    rowsLayout_->setSpacing(kRowSpacing);
    rowsLayout_->addStretch(1);
    scroll_ = new QScrollArea;
    scroll_->setWidget(rows);
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The rows take the keyboard, not the list around them.
    scroll_->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(scroll_, 1);
    layout->addWidget(new Divider);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(kBarPadding);
    bar->setSpacing(kBarSpacing);
    add_ = new ListBarButton("plus", false, localized("Add a dock"));
    remove_ = new ListBarButton("minus", true, QString());
    connect(add_, &QAbstractButton::clicked, this, [this] {
        if (model_.add()) rowsByDock_.at(*model_.selectedID())->setFocus(Qt::OtherFocusReason);
    });
    connect(remove_, &QAbstractButton::clicked, this, [this] { model_.askToRemoveSelected(); });
    bar->addWidget(add_);
    bar->addWidget(remove_);
    bar->addStretch(1);
    layout->addLayout(bar);
    return column;
}

QWidget* DocksPane::makeDetailColumn() {
    detail_ = new QWidget;
    detail_->setMinimumWidth(kDetailMinimum);
    auto* column = new QVBoxLayout(detail_);
    column->setContentsMargins(0, 0, 0, 0);
    emptyState_ = new QWidget;
    auto* layout = new QVBoxLayout(emptyState_);
    layout->setSpacing(10);
    layout->addStretch(1);
    auto* symbol = new QLabel;
    const QColor faint = SettingsTheme::primaryAt(palette(), kQuaternary);
    showIconIn(*symbol, symbolIcon("square.stack.3d.up", faint, kEmptySymbolSide, devicePixelRatioF()),
               kEmptySymbolSide);
    symbol->setAlignment(Qt::AlignCenter);
    layout->addWidget(symbol);
    auto* note = new QLabel(localized("Select a dock"));
    note->setAlignment(Qt::AlignCenter);
    QPalette secondary = note->palette();
    secondary.setColor(QPalette::WindowText, SettingsTheme::tone(SettingsTone::secondary, palette()));
    note->setPalette(secondary);
    layout->addWidget(note);
    layout->addStretch(1);
    column->addWidget(emptyState_);
    return detail_;
}

std::vector<DockRow*> DocksPane::rows() const {
    std::vector<DockRow*> ordered;
    for (int i = 0; i < rowsLayout_->count(); ++i)
        if (auto* row = qobject_cast<DockRow*>(rowsLayout_->itemAt(i)->widget())) ordered.push_back(row);
    return ordered;
}

DockRow* DocksPane::row(const Uuid& id) const {
    const auto found = rowsByDock_.find(id);
    return found == rowsByDock_.end() ? nullptr : found->second;
}

void DocksPane::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    model_.appeared();
}

void DocksPane::sync() {
    recovery_->setVisible(model_.showsRecovery());
    if (model_.showsRecovery()) recovery_->setText(text(model_.recoveryText()));
    const std::optional<std::string> undo = model_.undoLabel();
    undo_->setVisible(undo.has_value());
    if (undo) undo_->buttons().front()->setText(menuTitle(*undo));

    syncRows();
    add_->setEnabled(model_.canAdd());
    remove_->setEnabled(model_.canRemove());
    const QString removeHelp = text(model_.removeHelp());
    if (remove_->toolTip() != removeHelp) {
        remove_->setToolTip(removeHelp);
        remove_->setAccessibleName(removeHelp);
    }
    syncConfirmation();
    syncDetail();
}

void DocksPane::syncDetail() {
    const std::optional<Uuid> shown = model_.detailDock();
    if (shown && !detailPane_) {
        detailPane_ = new ProfileDetailPane(editor_, *shown);
        detail_->layout()->addWidget(detailPane_);
    } else if (shown) {
        detailPane_->setProfileID(*shown);
    }
    if (detailPane_) detailPane_->setVisible(shown.has_value());
    emptyState_->setVisible(!shown);
}

void DocksPane::syncRows() {
    const std::vector<DockRowData> wanted = model_.rows();
    for (auto it = rowsByDock_.begin(); it != rowsByDock_.end();) {
        const bool stays = std::ranges::any_of(wanted, [&](const DockRowData& r) { return r.id == it->first; });
        if (stays) {
            ++it;
            continue;
        }
        rowsLayout_->removeWidget(it->second);
        it->second->retire();
        it = rowsByDock_.erase(it);
    }
    bool moved = false;
    const bool anySelected = std::ranges::any_of(wanted, &DockRowData::isSelected);
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        DockRow*& row = rowsByDock_[wanted[i].id];
        if (!row) {
            row = new DockRow(model_, wanted[i]);
            connect(row, &DockRow::moveRequested, this, [this](int step) { moveSelection(step); });
        } else {
            row->setData(wanted[i]);
        }
        // Moved, never made again: the row whose drag reorders the list lives on.
        if (rowsLayout_->indexOf(row) != int(i)) {
            rowsLayout_->removeWidget(row);
            rowsLayout_->insertWidget(int(i), row);
            // At once, not on the next turn: a new row takes the keyboard right away.
            row->show();
            moved = true;
        }
        // Tab reaches the list at its selected row; the arrow keys move from there.
        const bool tabStop = wanted[i].isSelected || (!anySelected && i == 0);
        row->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    }
    if (!moved) return;
    // The keyboard's order follows the reading order, whenever the rows were made.
    QWidget* previous = undo_->buttons().back();
    for (DockRow* row : rows()) {
        setTabOrder(previous, row);
        previous = row;
    }
    setTabOrder(previous, add_);
    setTabOrder(add_, remove_);
}

void DocksPane::moveSelection(int step) {
    const std::vector<DockRow*> ordered = rows();
    if (ordered.empty()) return;
    const auto current =
        std::ranges::find_if(ordered, [this](const DockRow* r) { return r->data().id == model_.selectedID(); });
    const int at = current == ordered.end() ? 0 : int(current - ordered.begin());
    DockRow* next = ordered[std::size_t(std::clamp(at + step, 0, int(ordered.size()) - 1))];
    model_.select(next->data().id);
    next->setFocus(Qt::TabFocusReason);
    scroll_->ensureWidgetVisible(next);
}

void DocksPane::syncConfirmation() {
    if (!model_.pendingRemoval()) {
        if (confirmation_ && confirmation_->isVisible()) confirmation_->close();
        return;
    }
    const bool opening = !confirmation_;
    if (opening) {
        auto* box = new QMessageBox(QMessageBox::Warning, QString(), QString(), QMessageBox::NoButton, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::WindowModal);
        box->setTextFormat(Qt::PlainText);
        confirmButton_ = box->addButton(QString(), QMessageBox::DestructiveRole);
        QPalette red = confirmButton_->palette();
        red.setColor(QPalette::ButtonText, SettingsTheme::destructive(red));
        confirmButton_->setPalette(red);
        box->setDefaultButton(box->addButton(QMessageBox::Cancel));
        // However it ends, the removal is no longer pending.
        connect(box, &QMessageBox::finished, this, [this, box] {
            if (box->clickedButton() == confirmButton_) {
                model_.confirmRemoval();
            } else {
                model_.cancelRemoval();
            }
        });
        confirmation_ = box;
    }
    // The texts follow the number of docks as it is now; given before it shows, so it opens at
    // its size.
    const QString title = text(model_.removalTitle());
    confirmation_->setWindowTitle(title);
    confirmation_->setText(title);
    confirmButton_->setText(text(model_.removalButton()));
    if (opening) confirmation_->open();
}

}  // namespace quillbern
