#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "settings/SettingsTest.h"
#include "support/AccessibilityAudit.h"
#include "ui/settings/AppearancePane.h"
#include "ui/settings/ReadoutSlider.h"
#include "ui/settings/SegmentedControl.h"
#include "ui/settings/SettingsSwitch.h"

namespace quillbern {
namespace {

using ::testing::IsEmpty;

constexpr const char* kAppearanceKeys[] = {"appearanceTileSize",     "appearanceCornerRadius", "appearanceMaterial",
                                           "appearanceGlassTint",    "appearanceShowsLabels",  "appearanceSpotlight",
                                           "appearanceVeilIntensity"};

void press(QWidget& widget, int key) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &up);
}

QStringList itemsOf(const QComboBox& combo) {
    QStringList items;
    for (int i = 0; i < combo.count(); ++i)
        items << combo.itemText(i);
    return items;
}

class AppearancePaneTest : public testing::SettingsTest {
protected:
    void open() {
        launch();
        w.world.defaults.resetWriteCounts();
        pane = std::make_unique<AppearancePane>(w.shell->appearance());
        pane->resize(700, 700);
    }
    AppearanceStore& store() { return w.shell->appearance(); }
    int appearanceWrites() const {
        int writes = 0;
        for (const char* key : kAppearanceKeys)
            writes += w.world.defaults.writeCount(key);
        return writes;
    }

    std::unique_ptr<AppearancePane> pane;
};

TEST_F(AppearancePaneTest, SlidersWriteAtEveryStepWhileTheyMoveAndNeverWhileTheyFollow) {
    open();
    pane->show();
    EXPECT_EQ(appearanceWrites(), 0) << "opening the pane writes nothing";
    ReadoutSlider& size = pane->slider(AppearanceSlider::tileSize);
    EXPECT_EQ(pane->readout(AppearanceSlider::tileSize).text(), "62 pt");

    press(size, Qt::Key_Right);
    EXPECT_EQ(store().tileSize(), 64);
    EXPECT_EQ(pane->readout(AppearanceSlider::tileSize).text(), "64 pt");
    // A drag: the store follows each position the thumb passes, not only the release.
    size.setSliderDown(true);
    for (const int position : {9, 10, 11}) {
        size.setSliderPosition(position);
        EXPECT_EQ(store().tileSize(), 48 + 2 * position);
    }
    size.setSliderDown(false);
    EXPECT_EQ(w.world.defaults.writeCount("appearanceTileSize"), 4);
    EXPECT_EQ(pane->readout(AppearanceSlider::tileSize).text(), "70 pt");

    ReadoutSlider& dimming = pane->slider(AppearanceSlider::dimming);
    press(dimming, Qt::Key_Left);
    press(dimming, Qt::Key_Left);
    EXPECT_EQ(w.world.defaults.value("appearanceVeilIntensity")->dump(), "0.25");
    EXPECT_EQ(pane->readout(AppearanceSlider::dimming).text(), "25 %");

    // Changes made elsewhere move the slider without writing back.
    w.world.defaults.resetWriteCounts();
    store().setCornerRadius(20);
    EXPECT_EQ(pane->slider(AppearanceSlider::cornerRadius).value(), 12);
    EXPECT_EQ(pane->readout(AppearanceSlider::cornerRadius).text(), "20 pt");
    EXPECT_EQ(appearanceWrites(), 1);
}

TEST_F(AppearancePaneTest, AStoredValueOffTheStepsKeepsItsValueAndItsReadout) {
    w.world.defaults.set("appearanceTileSize", 63.5);
    w.world.defaults.set("appearanceVeilIntensity", 0.33);
    open();
    pane->show();
    EXPECT_EQ(pane->slider(AppearanceSlider::tileSize).value(), 8);
    EXPECT_EQ(pane->readout(AppearanceSlider::tileSize).text(), "63 pt");
    EXPECT_EQ(pane->readout(AppearanceSlider::dimming).text(), "33 %");
    // Another control's change redraws the pane; the sliders still write nothing.
    pane->showsLabels().click();
    EXPECT_TRUE(store().showsLabels());
    EXPECT_EQ(store().tileSize(), 63.5);
    EXPECT_EQ(store().veilIntensity(), 0.33);
    EXPECT_EQ(appearanceWrites(), 1);

    press(pane->slider(AppearanceSlider::tileSize), Qt::Key_Right);
    EXPECT_EQ(store().tileSize(), 66);
}

TEST_F(AppearancePaneTest, WithoutGlassFourMaterialsAndNoTint) {
    open();
    EXPECT_EQ(itemsOf(pane->material()), (QStringList{"Ultra-thin", "Regular", "Thick", "Opaque"}));
    EXPECT_EQ(pane->material().currentText(), "Ultra-thin");
    pane->show();
    for (int i = 0; i < pane->material().count(); ++i) {
        pane->material().activated(i);
        EXPECT_FALSE(pane->glassTintGroup().isVisible());
    }
    EXPECT_EQ(store().material(), DockMaterial::opaque);
}

TEST_F(AppearancePaneTest, WithGlassTheTintFollowsTheMaterialAndIsKeptWhileHidden) {
    w.world.appearance.setSupportsGlass(true);
    open();
    pane->show();
    EXPECT_EQ(itemsOf(pane->material()),
              (QStringList{"Clear glass", "Liquid glass", "Ultra-thin", "Regular", "Thick", "Opaque"}));
    EXPECT_EQ(pane->material().currentIndex(), 0);
    EXPECT_TRUE(pane->glassTintGroup().isVisible());
    pane->glassTint().segment(1).click();
    EXPECT_EQ(store().glassTint(), GlassTint::accent);

    QPointer<QWidget> group = &pane->glassTintGroup();
    pane->material().activated(3);
    EXPECT_EQ(store().material(), DockMaterial::regular);
    EXPECT_FALSE(group->isVisible());
    pane->material().activated(1);
    EXPECT_TRUE(group->isVisible()) << "the same row comes back";
    EXPECT_EQ(pane->glassTint().currentIndex(), 1);
    EXPECT_EQ(store().glassTint(), GlassTint::accent);
}

TEST_F(AppearancePaneTest, ResetRestoresEveryDefaultAtOnceAndTheSpotlightLeavesDimmingUsable) {
    w.world.appearance.setSupportsGlass(true);
    open();
    pane->show();
    press(pane->slider(AppearanceSlider::tileSize), Qt::Key_End);
    press(pane->slider(AppearanceSlider::cornerRadius), Qt::Key_Home);
    pane->material().activated(5);
    pane->showsLabels().click();
    pane->spotlight().click();
    EXPECT_TRUE(store().spotlightEnabled());
    pane->spotlight().click();
    EXPECT_TRUE(pane->slider(AppearanceSlider::dimming).isEnabled());
    press(pane->slider(AppearanceSlider::dimming), Qt::Key_End);
    EXPECT_EQ(store().veilIntensity(), 0.5);

    pane->reset().click();
    EXPECT_EQ(store().tileSize(), 62);
    EXPECT_EQ(store().cornerRadius(), 13);
    EXPECT_EQ(store().material(), DockMaterial::liquidClear);
    EXPECT_EQ(store().glassTint(), GlassTint::none);
    EXPECT_FALSE(store().showsLabels());
    EXPECT_FALSE(store().spotlightEnabled());
    EXPECT_EQ(store().veilIntensity(), 0.35);
    EXPECT_EQ(pane->readout(AppearanceSlider::tileSize).text(), "62 pt");
    EXPECT_EQ(pane->material().currentText(), "Clear glass");
    EXPECT_FALSE(pane->showsLabels().isChecked());
    EXPECT_TRUE(QApplication::activeModalWidget() == nullptr) << "no confirmation";
}

TEST_F(AppearancePaneTest, AssistiveToolsReadAndMoveTheSlidersByTheirRows) {
    open();
    EXPECT_THAT(testing::accessibilityProblems(*pane), IsEmpty());
    EXPECT_EQ(pane->material().accessibleName(), "Background");
    // On Linux a picker is named by its choice and known by the label that labels it.
    QAccessibleInterface* picker = QAccessible::queryAccessibleInterface(&pane->material());
    const auto labels = picker->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.front().first->text(QAccessible::Name), "Background");
    EXPECT_EQ(pane->showsLabels().accessibleName(), "Show names under icons");
    EXPECT_EQ(pane->spotlight().accessibleName(), "Landing spotlight");

    QAccessibleInterface* dimming = QAccessible::queryAccessibleInterface(&pane->slider(AppearanceSlider::dimming));
    ASSERT_TRUE(dimming && dimming->valueInterface());
    EXPECT_EQ(dimming->role(), QAccessible::Slider);
    EXPECT_EQ(dimming->text(QAccessible::Name), "Dimming");
    EXPECT_EQ(dimming->text(QAccessible::Value), "35 %");
    EXPECT_EQ(dimming->valueInterface()->currentValue().toDouble(), 35);
    EXPECT_EQ(dimming->valueInterface()->minimumValue().toDouble(), 15);
    EXPECT_EQ(dimming->valueInterface()->maximumValue().toDouble(), 50);
    EXPECT_EQ(dimming->valueInterface()->minimumStepSize().toDouble(), 5);
    dimming->valueInterface()->setCurrentValue(44);
    EXPECT_EQ(store().veilIntensity(), 0.45);
    EXPECT_EQ(dimming->text(QAccessible::Value), "45 %");

    QAccessibleInterface* size = QAccessible::queryAccessibleInterface(&pane->slider(AppearanceSlider::tileSize));
    EXPECT_EQ(size->text(QAccessible::Name), "Icon size");
    EXPECT_EQ(size->valueInterface()->currentValue().toDouble(), 62);
}

}  // namespace
}  // namespace quillbern
