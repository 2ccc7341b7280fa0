#include "ui/settings/AppearancePane.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "ui/foundation/QtText.h"
#include "ui/settings/ReadoutSlider.h"
#include "ui/settings/SegmentedControl.h"
#include "ui/settings/SettingsCaption.h"
#include "ui/settings/SettingsCard.h"
#include "ui/settings/SettingsPage.h"
#include "ui/settings/SettingsRow.h"
#include "ui/settings/SettingsSwitch.h"
#include "ui/settings/SettingsTheme.h"

namespace quillbern {

namespace {

constexpr int kRowMinimumHeight = 30;
constexpr int kSliderRowSpacing = 10;
constexpr int kReadoutMinimumWidth = 44;
constexpr int kCalloutSize = 12;
constexpr int kMaterialPickerMaximumWidth = 200;

QString text(const std::string& english) {
    return QString::fromStdString(english);
}

}  // namespace

AppearancePane::AppearancePane(AppearanceStore& store, QWidget* parent)
    : QWidget(parent), model_(store), materials_(model_.materials()) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* page = new SettingsPage;
    page->setAccessibleName(localized("Appearance"));
    layout->addWidget(page);

    auto* look = page->addCard(new SettingsCard);
    look->addWidget(sliderRow(AppearanceSlider::tileSize, localized("Icon size"), "square.resize"));
    look->addDivider();
    look->addWidget(sliderRow(AppearanceSlider::cornerRadius, localized("Corner radius"), "rectangle.roundedtop"));
    look->addDivider();
    material_ = new QComboBox;
    for (const DockMaterial material : materials_)
        material_->addItem(text(label(material)));
    material_->setMaximumWidth(kMaterialPickerMaximumWidth);
    connect(material_, &QComboBox::activated, this, [this](int chosen) {
        if (chosen >= 0 && static_cast<std::size_t>(chosen) < materials_.size())
            model_.setMaterial(materials_[static_cast<std::size_t>(chosen)]);
    });
    // TRANSLATORS: what a dock's background is made of (a choice of glass or opaque materials).
    look->addRow(new SettingsRow(localized("Background"), "circle.bottomrighthalf.pattern.checkered", material_));

    glassTintGroup_ = look->addWidget(new QWidget);
    auto* tintLayout = new QVBoxLayout(glassTintGroup_);
    tintLayout->setContentsMargins(0, 0, 0, 0);
    tintLayout->setSpacing(0);
    tintLayout->addWidget(new SettingsRowDivider);
    glassTint_ = new SegmentedControl({text(label(GlassTint::none)), text(label(GlassTint::accent))});
    glassTint_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(glassTint_, &SegmentedControl::activated, this,
            [this](int chosen) { model_.setGlassTint(chosen == 1 ? GlassTint::accent : GlassTint::none); });
    tintLayout->addWidget(new SettingsRow(localized("Glass tint"), "drop.halffull", glassTint_));
    tintLayout->addWidget(new SettingsCaption(
        localized("A tint gives the glass body over dark wallpapers, where clear glass has nothing to refract.")));

    look->addDivider();
    showsLabels_ = new SettingsSwitch;
    connect(showsLabels_, &SettingsSwitch::clicked, this, [this](bool on) { model_.setShowsLabels(on); });
    look->addRow(new SettingsRow(localized("Show names under icons"), "textformat", showsLabels_));

    auto* dimming = page->addCard(new SettingsCard);
    spotlight_ = new SettingsSwitch;
    connect(spotlight_, &SettingsSwitch::clicked, this, [this](bool on) { model_.setSpotlightEnabled(on); });
    // TRANSLATORS: the name of a feature: the rest of the screen dims briefly around a window
    // just brought forward.
    dimming->addRow(new SettingsRow(localized("Landing spotlight"), "circle.dashed.inset.filled", spotlight_));
    dimming->addDivider();
    // Stays usable with the spotlight off: focus mode dims by the same amount.
    // TRANSLATORS: how dark the dimming of the landing spotlight and focus mode is.
    dimming->addWidget(sliderRow(AppearanceSlider::dimming, localized("Dimming"), "circle.lefthalf.filled"));
    dimming->addCaption(
        localized("Briefly dims everything except the window you just brought forward. "
                  "The intensity also applies to Focus mode."));

    auto* resetCard = page->addCard(new SettingsCard);
    reset_ = new QPushButton(localized("Reset appearance"));
    connect(reset_, &QPushButton::clicked, this, [this] { model_.resetToDefaults(); });
    resetCard->addRow(new SettingsRow(reset_, nullptr));

    sync();
    changed_ = model_.changed.connect([this] { sync(); });
}

AppearancePane::~AppearancePane() = default;

QWidget* AppearancePane::sliderRow(AppearanceSlider which, const QString& title, std::string_view symbol) {
    const SliderScale scale = AppearancePaneModel::scale(which);
    const double unit = AppearancePaneModel::readoutUnit(which);
    // Counted from whole numbers: 0.15 × 100 is not quite 15.
    const auto inReadoutUnit = [&](int whole) { return whole * unit / scale.divisor; };
    auto* slider = new ReadoutSlider(
        scale.last,
        {inReadoutUnit(scale.first), inReadoutUnit(scale.first + scale.step * scale.last), inReadoutUnit(scale.step)});
    slider->setAccessibleName(title);
    connect(slider, &ReadoutSlider::moved, this, [this, which](int position) { model_.setPosition(which, position); });

    auto* readout = new QLabel;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(kCalloutSize);
    readout->setFont(font);
    readout->setMinimumWidth(kReadoutMinimumWidth);
    readout->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette colours = readout->palette();
    colours.setColor(QPalette::WindowText, SettingsTheme::tone(SettingsTone::secondary, palette()));
    readout->setPalette(colours);

    auto* row = new QWidget;
    row->setMinimumHeight(kRowMinimumHeight);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kSliderRowSpacing);
    auto* labelled = new QHBoxLayout;
    labelled->setSpacing(kSliderRowSpacing);
    labelled->addWidget(new SettingsRowLabel(title, symbol));
    labelled->addWidget(slider, 1);
    layout->addLayout(labelled, 1);
    layout->addWidget(readout);

    sliders_.at(index(which)) = slider;
    readouts_.at(index(which)) = readout;
    return row;
}

void AppearancePane::sync() {
    for (const AppearanceSlider which :
         {AppearanceSlider::tileSize, AppearanceSlider::cornerRadius, AppearanceSlider::dimming}) {
        const QString shown = text(model_.readout(which));
        // Told to assistive tools as the readout counts, without a product's last-digit noise.
        const double number = std::round(model_.value(which) * AppearancePaneModel::readoutUnit(which) * 1e6) / 1e6;
        slider(which).display(model_.position(which), number, shown);
        readout(which).setText(shown);
    }
    {
        const QSignalBlocker quiet(material_);
        const auto shown = std::find(materials_.begin(), materials_.end(), model_.material());
        material_->setCurrentIndex(shown == materials_.end() ? -1 : static_cast<int>(shown - materials_.begin()));
    }
    glassTintGroup_->setVisible(model_.showsGlassTint());
    glassTint_->setCurrentIndex(model_.glassTint() == GlassTint::accent ? 1 : 0);
    {
        const QSignalBlocker quietLabels(showsLabels_);
        showsLabels_->setChecked(model_.showsLabels());
        const QSignalBlocker quietSpotlight(spotlight_);
        spotlight_->setChecked(model_.spotlightEnabled());
    }
}

}  // namespace quillbern
