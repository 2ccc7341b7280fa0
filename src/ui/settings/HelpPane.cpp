#include "ui/settings/HelpPane.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "core/settings/HelpContent.h"
#include "core/shell/InAppNotifications.h"
#include "ui/foundation/QtText.h"
#include "ui/settings/SettingsCaption.h"
#include "ui/settings/SettingsCard.h"
#include "ui/settings/SettingsPage.h"
#include "ui/settings/SettingsRow.h"

namespace quillbern {

namespace {

constexpr double kLabelSize = 13;

}  // namespace

HelpPane::HelpPane(NotificationBus& notifications, QWidget* parent)
    : QWidget(parent), page_(new SettingsPage), walkthrough_(new QPushButton) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page_);
    page_->setAccessibleName(localized("Help"));

    for (const HelpCard& card : HelpContent::featureCards())
        addCard(card);

    SettingsCard* walkthrough = addCard(HelpContent::walkthroughCard());
    walkthrough_->setText(QString::fromStdString(HelpContent::walkthroughButtonTitle()));
    walkthrough_->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    auto* spaced = new QWidget;
    auto* spacing = new QVBoxLayout(spaced);
    spacing->setContentsMargins(0, 8, 0, 0);
    spacing->addWidget(walkthrough_, 0, Qt::AlignLeft);
    walkthrough->addWidget(spaced);
    QObject::connect(walkthrough_, &QPushButton::clicked, this,
                     [&notifications] { notifications.post(kShowOnboardingNotification); });
}

SettingsCard* HelpPane::addCard(const HelpCard& card) {
    auto* made = page_->addCard(new SettingsCard);
    auto* label = new SettingsRowLabel(QString::fromStdString(card.title), card.symbol);
    label->text().setFont(fontOfSize(kLabelSize, kHeadingWeight));
    label->text().setWordWrap(true);
    made->addWidget(label);
    titles_.push_back(&label->text());
    texts_.push_back(made->addCaption(QString::fromStdString(card.text)));
    cards_.push_back(made);
    return made;
}

}  // namespace quillbern
