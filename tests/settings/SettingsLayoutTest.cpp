#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "settings/SettingsTest.h"
#include "support/HeadingAudit.h"
#include "support/InstalledCatalogue.h"
#include "support/LayoutAudit.h"
#include "support/ScopedEnvironment.h"
#include "ui/settings/SettingsView.h"

namespace quillbern {
namespace {

using ::testing::IsEmpty;

// In the program's own catalogues: German and French run a third longer than English, and
// Japanese and Chinese break their lines between any two characters, which headings draw as
// heavy as their Latin letters.
class SettingsLayoutTest : public testing::SettingsTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SettingsLayoutTest, EverySectionAtTheLeastSizeShowsItsTextsWholeWrappedOrElidedAndItsHeadingsHeavy) {
    ScopedEnvironment environment;
    environment.set("LANGUAGE", GetParam());
    InstalledCatalogue catalogue(QUILLBERN_CATALOGUES);
    ASSERT_EQ(catalogue.localizer().language(), GetParam()) << "no catalogue of it in " QUILLBERN_CATALOGUES;
    launch();
    SettingsView view(services());
    view.resize(view.minimumSize());
    view.show();
    for (const SettingsSectionInfo& section : kSettingsSections) {
        view.select(section.section);
        EXPECT_THAT(testing::clippedTexts(view), IsEmpty()) << section.rawValue;
        EXPECT_THAT(testing::lightHeadings(view), IsEmpty()) << section.rawValue;
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, SettingsLayoutTest, ::testing::Values("de", "fr", "es", "ja", "zh_CN"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

}  // namespace
}  // namespace quillbern
