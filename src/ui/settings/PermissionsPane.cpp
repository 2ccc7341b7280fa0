#include "ui/settings/PermissionsPane.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/foundation/QtIcons.h"
#include "ui/foundation/QtText.h"
#include "ui/foundation/Symbols.h"
#include "ui/settings/SettingsCard.h"
#include "ui/settings/SettingsPage.h"
#include "ui/settings/SettingsRow.h"
#include "ui/settings/SettingsTheme.h"

namespace quillbern {

namespace {

constexpr int kStatusSymbolSide = 16;

// "Granted" beside a check mark, both in the colour of a switch that is on.
QWidget* grantedLabel() {
    auto* status = new QWidget;
    auto* layout = new QHBoxLayout(status);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    const QColor colour = SettingsTheme::switchTint(status->palette());
    auto* mark = new QLabel;
    showIconIn(*mark, symbolIcon("checkmark.circle.fill", colour, kStatusSymbolSide, status->devicePixelRatioF()),
               kStatusSymbolSide);
    layout->addWidget(mark);
    // TRANSLATORS: the state of a permission that Quillbern has.
    auto* text = new QLabel(localized("Granted"));
    QPalette colours = text->palette();
    colours.setColor(QPalette::WindowText, colour);
    text->setPalette(colours);
    layout->addWidget(text);
    return status;
}

}  // namespace

PermissionsPane::PermissionsPane(WindowEngine& engine, AXPermission& windowAccess, QWidget* parent)
    : QWidget(parent),
      model_(engine, windowAccess),
      granted_(grantedLabel()),
      allow_(new QPushButton(localized("Check Window Access"))) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* page = new SettingsPage;
    page->setAccessibleName(localized("Permissions"));
    layout->addWidget(page);
    auto* card = page->addCard(new SettingsCard);

    connect(allow_, &QPushButton::clicked, this, [this] { model_.askForWindowAccess(); });
    auto* control = new QWidget;
    auto* controlLayout = new QHBoxLayout(control);
    controlLayout->setContentsMargins(0, 0, 0, 0);
    controlLayout->addWidget(granted_);
    controlLayout->addWidget(allow_);
    card->addRow(new SettingsRow(localized("Window access"), "accessibility", control));
    card->addCaption(
        localized("Needed to list and activate windows. Quillbern runs fully offline, with no telemetry."));

    sync();
    modelChanged_ = model_.changed.connect([this] { sync(); });
}

PermissionsPane::~PermissionsPane() = default;

void PermissionsPane::sync() {
    const bool granted = model_.windowAccessRow() == WindowAccessRow::granted;
    granted_->setVisible(granted);
    allow_->setVisible(!granted);
}

}  // namespace quillbern
