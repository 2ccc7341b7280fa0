#include "ui/settings/AboutPane.h"

#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/foundation/QtText.h"
#include "ui/settings/SettingsCaption.h"
#include "ui/settings/SettingsCard.h"
#include "ui/settings/SettingsLink.h"
#include "ui/settings/SettingsPage.h"
#include "ui/settings/SettingsRow.h"
#include "ui/settings/SettingsTheme.h"

namespace quillbern {

namespace {

constexpr double kNameSize = 17;
constexpr double kCalloutSize = 12;

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

void setSecondary(QLabel& label) {
    QPalette colours = label.palette();
    colours.setColor(QPalette::WindowText, SettingsTheme::tone(SettingsTone::secondary, colours));
    label.setPalette(colours);
    label.setFont(fontOfSize(kCalloutSize));
}

// The program's icon as it reports it, stretched to the side whatever the source's size.
QPixmap iconPicture(double devicePixelRatio) {
    const QIcon icon = QGuiApplication::windowIcon();
    if (icon.isNull()) return {};
    const int pixels = static_cast<int>(AboutPane::kIconSide * devicePixelRatio);
    QPixmap picture =
        icon.pixmap(QSize(pixels, pixels)).scaled(pixels, pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    picture.setDevicePixelRatio(devicePixelRatio);
    return picture;
}

// The header's column. It paints the program's icon itself, over the space kept for it at
// its top, so that the icon is no object for assistive tools.
class HeaderColumn final : public QWidget {
public:
    explicit HeaderColumn(QPixmap icon) : icon_(std::move(icon)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        if (icon_.isNull()) return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const int side = AboutPane::kIconSide;
        painter.drawPixmap(QRect((width() - side) / 2, contentsRect().top(), side, side), icon_);
    }

private:
    QPixmap icon_;
};

}  // namespace

AboutPane::AboutPane(const AppProcess& process, UpdaterController& updater, Launcher& launcher,
                     MakerAddresses addresses, QWidget* parent)
    : QWidget(parent),
      model_(process, updater, launcher, std::move(addresses)),
      version_(new QLabel(fromUtf8(model_.versionLine()))),
      description_(new QLabel(fromUtf8(AboutPaneModel::description()))),
      checkNow_(new QPushButton(localized("Check now"))) {
    auto* page = new SettingsPage;
    page->setAccessibleName(localized("About"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);

    auto* header = page->addCard(new SettingsCard);
    icon_ = iconPicture(devicePixelRatioF());
    auto* column = new HeaderColumn(icon_);
    column->setContentsMargins(0, 8, 0, 8);
    auto* stack = new QVBoxLayout(column);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(14);
    if (!icon_.isNull()) stack->addSpacing(kIconSide);
    auto* names = new QVBoxLayout;
    names->setSpacing(4);
    auto* name = new QLabel(fromUtf8(AboutPaneModel::productName()));
    name->setFont(fontOfSize(kNameSize, kHeadingWeight));
    names->addWidget(name, 0, Qt::AlignHCenter);
    version_->setTextFormat(Qt::PlainText);
    version_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    setSecondary(*version_);
    names->addWidget(version_, 0, Qt::AlignHCenter);
    stack->addLayout(names);
    description_->setWordWrap(true);
    description_->setAlignment(Qt::AlignHCenter);
    description_->setContentsMargins(20, 0, 20, 0);
    setSecondary(*description_);
    stack->addWidget(description_);
    header->addWidget(column);

    auto* updates = page->addCard(new SettingsCard);
    updates->addRow(new SettingsRow(localized("Check for updates"), "arrow.triangle.2.circlepath", checkNow_));
    checkNow_->setEnabled(model_.canCheckForUpdates());
    QObject::connect(checkNow_, &QPushButton::clicked, this, [this] { model_.checkForUpdates(); });
    updates->addCaption(fromUtf8(AboutPaneModel::updatesCaption()));

    auto* links = page->addCard(new SettingsCard);
    for (const WebLink& link : model_.links()) {
        auto* button = new SettingsLink(fromUtf8(link.label), link.symbol);
        QObject::connect(button, &QPushButton::clicked, this, [this, link] { model_.open(link); });
        links->addWidget(button);
        links_.push_back(button);
    }
    links->addCaption(fromUtf8(AboutPaneModel::privacyCaption()));
}

}  // namespace quillbern
