#include "ui/settings/AppsCard.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "core/foundation/Localization.h"
#include "ui/foundation/IconBesideText.h"
#include "ui/foundation/QtIcons.h"
#include "ui/foundation/QtText.h"
#include "ui/foundation/Symbols.h"
#include "ui/settings/FlowLayout.h"
#include "ui/settings/SettingsCaption.h"
#include "ui/settings/SettingsPage.h"
#include "ui/settings/SettingsSearchField.h"
#include "ui/settings/SettingsTheme.h"
#include "ui/settings/SymbolButton.h"

namespace quillbern {

namespace {

constexpr int kResultIconSide = 24;
constexpr int kResultRowHeight = 32;
constexpr int kPinSymbolSide = 15;
constexpr double kCalloutSize = 12;
constexpr double kCaptionSize = 11;
constexpr int kPlatePadding = 4;
constexpr double kPlateRadius = 8;
constexpr double kPlateFill = 0.05;

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

void setTone(QWidget& widget, SettingsTone tone) {
    QPalette colours = widget.palette();
    colours.setColor(QPalette::WindowText, SettingsTheme::tone(tone, colours));
    widget.setPalette(colours);
}

// The space a part of the card keeps above it.
QWidget* spacedAbove(QWidget* content, int space) {
    auto* holder = new QWidget;
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, space, 0, 0);
    layout->addWidget(content);
    return holder;
}

// The search's results stand on a plate of their own: an "Already pinned" result must not
// read as one of the dock's rows below it.
class ResultsPlate final : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath plate;
        plate.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kPlateRadius, kPlateRadius);
        painter.fillPath(plate, SettingsTheme::primaryAt(palette(), kPlateFill));
        painter.setPen(QPen(SettingsTheme::separator(palette()), 1));
        painter.drawPath(plate);
    }
};

bool takesTab(const QWidget& widget) {
    return widget.isEnabled() && !widget.focusProxy() && (widget.focusPolicy() & Qt::TabFocus);
}

// The widgets Tab stops at inside a layout, in the order its layouts place them: the focus
// chain keeps the order widgets were made in.
void collectTabStops(const QLayout& layout, std::vector<QWidget*>& stops) {
    for (int i = 0; i < layout.count(); ++i) {
        QLayoutItem* item = layout.itemAt(i);
        if (const QLayout* inner = item->layout()) {
            collectTabStops(*inner, stops);
            continue;
        }
        QWidget* widget = item->widget();
        if (!widget || widget->isHidden()) continue;
        if (takesTab(*widget)) stops.push_back(widget);
        if (const QLayout* own = widget->layout()) collectTabStops(*own, stops);
    }
}

}  // namespace

AppsCard::AppsCard(AppsCardModel::Ports ports, Uuid profileID, QWidget* parent)
    : QWidget(parent),
      model_(ports, profileID),
      search_(new SettingsSearchField(localized("Search for an app"))),
      status_(new QWidget),
      statusText_(new QLabel),
      results_(new ResultsPlate),
      resultsLayout_(new QVBoxLayout(results_)),
      addFolder_(new QPushButton(localized("Add a folder…"))),
      addTrash_(new QPushButton(localized("Add the Trash"))),
      note_(new SettingsNoteLabel) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(search_);
    search_->lineEdit().setAccessibleName(localized("Search for an app"));
    QObject::connect(search_, &SettingsSearchField::textChanged, this, [this](const QString& text) {
        model_.setSearchText(text.toStdString());
        // What was found answers the typing, and may stand below the fold.
        bringIntoSight(resultsHolder_->isHidden() ? *status_ : *resultsHolder_);
    });
    QObject::connect(search_, &SettingsSearchField::submitted, this, [this] { model_.submit(); });

    auto* statusLayout = new QHBoxLayout(status_);
    statusLayout->setContentsMargins(0, 8, 0, 0);
    statusLayout->setSpacing(6);
    auto* busy = new QProgressBar;
    busy->setRange(0, 0);
    busy->setTextVisible(false);
    busy->setFixedSize(16, 16);
    busy->setAccessibleName(localized("Reading your applications…"));
    busy_ = busy;
    statusLayout->addWidget(busy_, 0, Qt::AlignVCenter);
    statusText_->setFont(fontOfSize(kCalloutSize));
    statusText_->setTextFormat(Qt::PlainText);
    statusText_->setWordWrap(true);
    setTone(*statusText_, SettingsTone::secondary);
    statusLayout->addWidget(statusText_, 1, Qt::AlignVCenter);
    layout->addWidget(status_);

    resultsLayout_->setContentsMargins(kPlatePadding, kPlatePadding, kPlatePadding, kPlatePadding);
    resultsLayout_->setSpacing(2);
    resultsHolder_ = spacedAbove(results_, 8);
    layout->addWidget(resultsHolder_);

    auto* itemRows = new QWidget;
    itemRowsLayout_ = new QVBoxLayout(itemRows);
    itemRowsLayout_->setContentsMargins(0, 8, 0, 0);
    itemRowsLayout_->setSpacing(2);
    layout->addWidget(itemRows);

    auto* buttons = new QWidget;
    auto* buttonsLayout = new FlowLayout(buttons, 10);
    buttonsLayout->setContentsMargins(0, 10, 0, 0);
    setIconBesideText(*addFolder_, symbolIcon("folder.badge.plus"));
    addFolder_->setToolTip(localized("Pin a folder (Downloads, Documents…) to this dock"));
    setIconBesideText(*addTrash_, symbolIcon("trash"));
    buttonsLayout->addWidget(addFolder_);
    buttonsLayout->addWidget(addTrash_);
    QObject::connect(addFolder_, &QPushButton::clicked, this, [this] { model_.addFolders(); });
    QObject::connect(addTrash_, &QPushButton::clicked, this, [this] { model_.addTrash(); });
    layout->addWidget(buttons);
    layout->addWidget(spacedAbove(note_, 6));

    changed_ = model_.changed.connect([this] { refresh(); });
    refresh();
}

void AppsCard::setItemRows(QWidget* rows) {
    while (QLayoutItem* old = itemRowsLayout_->takeAt(0)) {
        delete old->widget();
        delete old;
    }
    if (rows) itemRowsLayout_->addWidget(rows);
}

void AppsCard::refresh() {
    const std::optional<std::string> status = model_.statusLine();
    status_->setVisible(status.has_value());
    busy_->setVisible(!model_.hasScanned());
    statusText_->setText(status ? fromUtf8(*status) : QString());

    // A focused pin button goes with its row; the search field takes the keyboard back.
    const bool hadFocus = results_->isAncestorOf(QApplication::focusWidget());
    // Later: a row's own pin button may be what changed the list.
    while (QLayoutItem* old = resultsLayout_->takeAt(0)) {
        old->widget()->hide();
        old->widget()->deleteLater();
        delete old;
    }
    const std::vector<InstalledApp> found = model_.results();
    for (const InstalledApp& app : found)
        resultsLayout_->addWidget(resultRow(app));
    resultsHolder_->setVisible(!found.empty());
    if (hadFocus) search_->lineEdit().setFocus();

    addTrash_->setEnabled(model_.canAddTrash());
    const QString note = model_.folderNote() ? fromUtf8(*model_.folderNote()) : QString();
    if (note == note_->text()) return;
    note_->setNote(note, SettingsNoteStyle::error);
    // The note answers the chooser.
    if (!note.isEmpty()) bringIntoSight(*note_);
}

QWidget* AppsCard::resultRow(const InstalledApp& app) {
    auto* row = new QWidget;
    row->setMinimumHeight(kResultRowHeight);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(8, 0, 8, 0);
    layout->setSpacing(10);
    auto* icon = new QLabel;
    showIconIn(*icon, qIcon(model_.iconForPath(app.path)), kResultIconSide);
    icon->setFixedSize(kResultIconSide, kResultIconSide);
    layout->addWidget(icon, 0, Qt::AlignVCenter);
    auto* name = new QLabel(fromUtf8(app.name));
    name->setTextFormat(Qt::PlainText);
    // A long name takes more lines rather than widening the page past the window.
    name->setWordWrap(true);
    layout->addWidget(name, 1, Qt::AlignVCenter);
    if (model_.isPinned(app)) {
        auto* pinned = new QLabel(localized("Already pinned"));
        pinned->setObjectName("alreadyPinned");
        pinned->setFont(fontOfSize(kCaptionSize));
        setTone(*pinned, SettingsTone::secondary);
        layout->addWidget(pinned, 0, Qt::AlignVCenter);
    } else {
        auto* pin = new SymbolButton("plus.circle.fill", kPinSymbolSide, localized("Pin to this dock"));
        pin->setObjectName("pin");
        pin->setSymbol("plus.circle.fill", SettingsTheme::accent(palette()));
        pin->setAccessibleName(fromUtf8(trf("Pin %@ to this dock", app.name)));
        QObject::connect(pin, &QAbstractButton::clicked, this, [this, app] { model_.pin(app); });
        layout->addWidget(pin, 0, Qt::AlignVCenter);
    }
    return row;
}

bool AppsCard::focusNextPrevChild(bool next) {
    std::vector<QWidget*> stops;
    collectTabStops(*layout(), stops);
    const auto at = std::ranges::find(stops, QApplication::focusWidget());
    if (at == stops.end()) return QWidget::focusNextPrevChild(next);
    const Qt::FocusReason reason = next ? Qt::TabFocusReason : Qt::BacktabFocusReason;
    const auto index = (at - stops.begin()) + (next ? 1 : -1);
    if (index >= 0 && index < std::ssize(stops)) {
        stops[index]->setFocus(reason);
        return true;
    }
    // Out of the card: to the first stop beyond it in the window's chain.
    for (QWidget* widget = next ? (*at)->nextInFocusChain() : (*at)->previousInFocusChain(); widget != *at;
         widget = next ? widget->nextInFocusChain() : widget->previousInFocusChain()) {
        if (widget != this && !isAncestorOf(widget) && widget->isVisible() && takesTab(*widget)) {
            widget->setFocus(reason);
            return true;
        }
    }
    // The card is all the window has: round again.
    (next ? stops.front() : stops.back())->setFocus(reason);
    return true;
}

}  // namespace quillbern
