#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "settings/SettingsTest.h"
#include "support/AccessibilityAudit.h"
#include "ui/settings/PermissionsPane.h"
#include "ui/settings/PreviewsPane.h"
#include "ui/settings/SettingsRow.h"
#include "ui/settings/SettingsSwitch.h"

namespace quillbern {
namespace {

using ::testing::IsEmpty;

class PermissionPanesTest : public testing::SettingsTest {
protected:
    // Every text the pane shows, one a line.
    static std::string shownTexts(const QWidget& pane) {
        QStringList texts;
        for (const QLabel* label : pane.findChildren<QLabel*>())
            texts << label->text();
        for (const QAbstractButton* button : pane.findChildren<QAbstractButton*>())
            texts << button->text();
        return texts.join('\n').toStdString();
    }
};

TEST_F(PermissionPanesTest, TheCaptureWarningComesAndGoesInTheOpenPane) {
    w.permissions.setCaptureAllowed(false);
    launch();
    w.world.defaults.resetWriteCounts();
    PreviewsPane pane(w.shell->previews());
    pane.show();
    EXPECT_EQ(w.world.defaults.writeCount(PreviewStore::kEnabledKey), 0) << "opening writes nothing";
    EXPECT_FALSE(pane.toggle().isChecked());
    EXPECT_FALSE(pane.warning().isVisible()) << "previews off: no warning, whatever the grant";

    // Switching on asks for access at once.
    pane.toggle().click();
    w.world.runUntilIdle();
    EXPECT_TRUE(w.shell->previews().isEnabled());
    EXPECT_EQ(w.permissions.captureRequests(), 1);
    EXPECT_TRUE(pane.warning().isVisible());
    EXPECT_EQ(pane.allow().text(), "Allow Window Pictures…");
    EXPECT_THAT(shownTexts(pane), ::testing::AllOf(::testing::HasSubstr("“Window pictures” permission required"),
                                                   ::testing::Not(::testing::HasSubstr("Screen Recording"))));
    pane.allow().click();
    w.world.runUntilIdle();
    EXPECT_EQ(w.permissions.captureRequests(), 2);

    // A grant made outside is seen by the poll; the same pane and switch follow it.
    QPointer<QWidget> toggle = &pane.toggle();
    w.permissions.setCaptureAllowed(true);
    w.advance(PreviewStore::kGrantPollInterval);
    EXPECT_FALSE(pane.warning().isVisible());
    EXPECT_TRUE(toggle);
    w.permissions.setCaptureAllowed(false);
    w.shell->previews().refreshGrant();
    EXPECT_TRUE(pane.warning().isVisible());
    pane.toggle().click();
    EXPECT_FALSE(pane.warning().isVisible());
    EXPECT_FALSE(w.shell->previews().isEnabled());
    EXPECT_THAT(testing::accessibilityProblems(pane), IsEmpty());
}

TEST_F(PermissionPanesTest, TheWindowAccessRowFollowsTheTrustAndItsButtonAsksAgain) {
    launch();
    PermissionsPane pane(w.shell->engine(), w.shell->windowAccess());
    pane.show();
    EXPECT_TRUE(pane.granted().isVisible());
    EXPECT_FALSE(pane.allow().isVisible());
    EXPECT_THAT(testing::accessibilityProblems(pane), IsEmpty());

    QPointer<QWidget> granted = &pane.granted();
    // The engine's poll notices a change made outside within a second.
    w.permissions.setWindowAccessTrusted(false);
    w.advance(WindowEngine::kTrustPollInterval);
    EXPECT_FALSE(pane.granted().isVisible());
    ASSERT_TRUE(pane.allow().isVisible());
    EXPECT_EQ(pane.allow().text(), "Check Window Access");
    EXPECT_THAT(shownTexts(pane), ::testing::AllOf(::testing::HasSubstr("Window access"),
                                                   ::testing::Not(::testing::HasSubstr("Accessibility"))));
    EXPECT_THAT(testing::accessibilityProblems(pane), IsEmpty());

    w.permissions.setGrantsWindowAccessOnPrompt(true);
    pane.allow().click();
    EXPECT_EQ(w.permissions.windowAccessPrompts(), 1);
    w.advance(WindowEngine::kTrustPollInterval);
    EXPECT_TRUE(pane.granted().isVisible());
    EXPECT_EQ(granted, &pane.granted()) << "updated in place";
}

}  // namespace
}  // namespace quillbern
