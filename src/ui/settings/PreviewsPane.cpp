#include "ui/settings/PreviewsPane.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ui/foundation/QtText.h"
#include "ui/settings/SettingsCaption.h"
#include "ui/settings/SettingsCard.h"
#include "ui/settings/SettingsPage.h"
#include "ui/settings/SettingsRow.h"
#include "ui/settings/SettingsSwitch.h"

namespace quillbern {

namespace {

constexpr double kSmallButtonTextSize = 11;

}  // namespace

PreviewsPane::PreviewsPane(PreviewStore& previews, QWidget* parent)
    : QWidget(parent), model_(previews), toggle_(new SettingsSwitch), allow_(new QPushButton) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* page = new SettingsPage;
    page->setAccessibleName(localized("Hover previews"));
    layout->addWidget(page);
    auto* card = page->addCard(new SettingsCard);

    connect(toggle_, &SettingsSwitch::clicked, this, [this](bool on) {
        model_.setEnabled(on);
        bringIntoSight(*warning_);
    });
    card->addRow(new SettingsRow(localized("Show window previews"), "eye", toggle_));

    auto* warning = new SettingsNoteLabel;
    warning->setNote(localized("“Window pictures” permission required"), SettingsNoteStyle::warning);
    // As a row's label it stands on one line, level with its button.
    warning->layout()->setContentsMargins(0, 0, 0, 0);
    for (QLabel* text : warning->findChildren<QLabel*>())
        text->setWordWrap(false);
    allow_->setText(localized("Allow Window Pictures…"));
    allow_->setFont(fontOfSize(kSmallButtonTextSize));
    connect(allow_, &QPushButton::clicked, this, [this] { model_.askForCaptureAccess(); });
    warning_ = card->addRow(new SettingsRow(warning, allow_));

    card->addCaption(localized("Images stay on this computer: nothing is written to disk, nothing is sent."));

    sync();
    modelChanged_ = model_.changed.connect([this] { sync(); });
}

PreviewsPane::~PreviewsPane() = default;

void PreviewsPane::sync() {
    {
        const QSignalBlocker quiet(toggle_);
        toggle_->setChecked(model_.isEnabled());
    }
    warning_->setVisible(model_.showsCaptureWarning());
}

}  // namespace quillbern
