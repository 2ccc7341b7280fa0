#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <string_view>

#include "support/InstalledCatalogue.h"
#include "support/LayoutAudit.h"
#include "support/ScopedEnvironment.h"
#include "tiles/TilesWorld.h"
#include "ui/tiles/LocationContentView.h"

namespace quillbern {
namespace {

using testing::dock;
using testing::folder;
using ::testing::IsEmpty;

const Path kFolder = "/home/u/Holiday";

// The header in the program's own catalogues, whose "Open in File Manager" runs far longer
// than English: it shows the button's text whole beside the folder's name, or under it where
// the two do not fit side by side, in the narrowest popover (an empty folder) and in one of
// three columns.
void expectWholeTexts(int files) {
    testing::TilesWorld w;
    w.world.files.addDirectory(kFolder);
    for (int i = 0; i < files; ++i)
        w.world.files.addFile(kFolder + "/photo" + std::to_string(i) + ".png", WallTime{1000.0 + i});
    w.open({dock(1, DockEdge::bottom, {folder(1, "Holiday", kFolder)})});
    const Profile& profile = w.pinned->profiles()[0];
    LocationContentView view(w.locations, *w.pinned, *profile.items[0].location(), profile.id, {}, nullptr);
    view.show();
    w.world.runUntilIdle();
    while (w.world.threads.queue(LocationBrowser::kQueueLabel)->runNext())
        w.world.runUntilIdle();
    ASSERT_TRUE(view.model().loaded());
    EXPECT_THAT(testing::clippedTexts(view), IsEmpty()) << files << " files, " << view.width() << " wide";
}

class FolderPopoverLayoutTest : public ::testing::TestWithParam<const char*> {};

TEST_P(FolderPopoverLayoutTest, TheHeaderShowsItsTextsWholeForAnEmptyAFewOrManyItems) {
    std::optional<ScopedEnvironment> environment;
    std::optional<InstalledCatalogue> catalogue;
    if (std::string_view(GetParam()) != "en") {
        environment.emplace().set("LANGUAGE", GetParam());
        catalogue.emplace(QUILLBERN_CATALOGUES);
        ASSERT_EQ(catalogue->localizer().language(), GetParam()) << "no catalogue of it in " QUILLBERN_CATALOGUES;
    }
    expectWholeTexts(0);
    expectWholeTexts(3);
    expectWholeTexts(120);
}

INSTANTIATE_TEST_SUITE_P(Languages, FolderPopoverLayoutTest, ::testing::Values("en", "de", "fr", "es", "ja", "zh_CN"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

}  // namespace
}  // namespace quillbern
