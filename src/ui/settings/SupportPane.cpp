#include "ui/settings/SupportPane.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/foundation/IconBesideText.h"
#include "ui/foundation/QtText.h"
#include "ui/foundation/Symbols.h"
#include "ui/settings/SettingsCaption.h"
#include "ui/settings/SettingsCard.h"
#include "ui/settings/SettingsLink.h"
#include "ui/settings/SettingsPage.h"
#include "ui/settings/SettingsRow.h"
#include "ui/settings/SettingsTheme.h"

namespace quillbern {

namespace {

constexpr double kHeadingSize = 15;
constexpr double kDiagnosticsSize = 11;
constexpr int kProminentSymbolSide = 18;

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

SupportPane::SupportPane(SupportPaneModel::Ports ports, MakerAddresses addresses, QWidget* parent)
    : QWidget(parent), model_(ports, std::move(addresses)), copy_(new QPushButton), diagnostics_(new QLabel) {
    auto* page = new SettingsPage;
    page->setAccessibleName(localized("Support"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);

    // Without a support page there is nothing to open, and no card to ask about it.
    if (model_.supportUrl()) {
        auto* support = page->addCard(new SettingsCard);
        auto* heading = new QLabel(localized("Something not working?"));
        heading->setFont(fontOfSize(kHeadingSize, kHeadingWeight));
        support->addWidget(heading);
        support->addCaption(
            localized("Open support on our web site and tell us what is happening. Support answers in "
                      "your language and hands you over to a person whenever one is needed."));
        supportLink_ = new QPushButton(localized("Open support"));
        setIconBesideText(*supportLink_,
                          symbolIcon("bubble.left.and.text.bubble.right", palette().color(QPalette::ButtonText),
                                     kProminentSymbolSide, devicePixelRatioF()));
        supportLink_->setDefault(true);
        supportLink_->setMinimumHeight(32);
        supportLink_->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
        QObject::connect(supportLink_, &QPushButton::clicked, this, [this] { model_.openSupport(); });
        auto* spaced = new QWidget;
        auto* spacing = new QVBoxLayout(spaced);
        spacing->setContentsMargins(0, 4, 0, 0);
        spacing->addWidget(supportLink_, 0, Qt::AlignLeft);
        support->addWidget(spaced);
    }

    auto* diagnostics = page->addCard(new SettingsCard);
    diagnostics->addRow(new SettingsRow(localized("Copy diagnostics"), "doc.on.clipboard", copy_));
    copy_->setAccessibleDescription(localized("Copy diagnostics"));
    QObject::connect(copy_, &QPushButton::clicked, this, [this] { model_.copy(); });
    diagnostics->addCaption(
        localized("Paste this into support and it saves several questions: version numbers, how many displays, which "
                  "permissions are granted. It holds no e-mail address and nothing about your applications or files."));
    QFont monospaced = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    monospaced.setPixelSize(kDiagnosticsSize);
    diagnostics_->setFont(monospaced);
    diagnostics_->setTextFormat(Qt::PlainText);
    diagnostics_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    diagnostics_->setAccessibleName(localized("Diagnostics"));
    diagnostics_->setContentsMargins(0, 2, 0, 0);
    QPalette colours = diagnostics_->palette();
    colours.setColor(QPalette::WindowText, SettingsTheme::tone(SettingsTone::secondary, colours));
    diagnostics_->setPalette(colours);
    diagnostics->addWidget(diagnostics_);

    if (const std::optional<WebLink> mail = model_.mailLink()) {
        auto* card = page->addCard(new SettingsCard);
        mailLink_ = new SettingsLink(fromUtf8(mail->label), mail->symbol);
        QObject::connect(mailLink_, &QPushButton::clicked, this, [this, link = *mail] { model_.open(link); });
        card->addWidget(mailLink_);
    }

    diagnostics_->setText(fromUtf8(model_.diagnostics()));
    showCopied();
    diagnosticsChanged_ = model_.diagnosticsChanged.connect([this] {
        diagnostics_->setText(fromUtf8(model_.diagnostics()));
        diagnostics_->setAccessibleDescription(diagnostics_->text());
    });
    copiedChanged_ = model_.copiedChanged.connect([this] { showCopied(); });
    diagnostics_->setAccessibleDescription(diagnostics_->text());
}

void SupportPane::showCopied() {
    // Heard as it reads: a screen reader tells the change of name.
    copy_->setText(model_.copied() ? localized("Copied") : localized("Copy"));
    copy_->setAccessibleName(copy_->text());
}

}  // namespace quillbern
