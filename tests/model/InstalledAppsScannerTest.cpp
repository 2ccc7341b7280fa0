// The one scan of installed applications: the folder rules of the simulated catalogue, the
// duplicate rule, the file manager, the order by name and the entries left out.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/model/InstalledAppsScanner.h"
#include "sim/SimWorld.h"

namespace quillbern {
namespace {

using ::testing::ElementsAre;

class InstalledAppsScannerTest : public ::testing::Test {
protected:
    InstalledAppsScannerTest() {
        world.catalog.setApplicationFolders({"/Applications", "/System/Applications", "/home/ann/Applications"});
    }
    void install(const Path& path, const AppId& id, std::optional<std::string> name = {}) {
        world.catalog.install(path, AppInfo{id, std::nullopt, std::nullopt, std::move(name)});
    }
    std::vector<std::string> paths() const {
        std::vector<std::string> out;
        for (const InstalledApp& app : scanner.scan())
            out.push_back(app.path);
        return out;
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const InstalledApp& app : scanner.scan())
            out.push_back(app.name);
        return out;
    }

    SimWorld world;
    InstalledAppsScanner scanner{world.catalog, world.text};
};

TEST_F(InstalledAppsScannerTest, OneCopyPerIdentityTheShallowestThenTheFirstFound) {
    install("/Applications/Mail.app", "mail");
    install("/System/Applications/Mail.app", "mail");
    EXPECT_THAT(paths(), ElementsAre("/Applications/Mail.app")) << "the first folder wins at equal depth";

    install("/Applications/Utilities/Notes.app", "notes");
    install("/home/ann/Applications/Notes.app", "notes");
    EXPECT_THAT(paths(), ElementsAre("/Applications/Mail.app", "/home/ann/Applications/Notes.app"))
        << "the user's folder is walked last but its copy lies higher";
}

TEST_F(InstalledAppsScannerTest, FolderRulesDepthDotsCaseAndBundlesNeverEntered) {
    install("/Applications/a/b/c/Deep.app", "deep");
    install("/Applications/a/b/c/d/TooDeep.app", "too.deep");
    install("/Applications/.Secret.app", "secret");
    install("/Applications/.cache/Cached.app", "cached");
    install("/Applications/Loud.APP", "loud");
    install("/Applications/Suite.app", "suite");
    install("/Applications/Suite.app/Contents/Helper.app", "helper");
    install("/Applications/Named.app", "named", "Named Differently");
    EXPECT_THAT(names(), ElementsAre("Deep", "Named Differently", "Suite"))
        << "three folders down is found, four is not; the name is the folder's without \".app\"";
}

TEST_F(InstalledAppsScannerTest, SortedByNameStablyWithTheFileManagerAddedOnce) {
    install("/Applications/b.app", "b.zed", "zed");
    install("/Applications/a.app", "a.term", "Terminal");
    install("/Applications/c.app", "c.term", "terminal");
    install("/Applications/d.app", "d.files", "Files");
    EXPECT_THAT(names(), ElementsAre("Files", "Terminal", "terminal", "zed"))
        << "equal names keep the catalogue's order";

    world.catalog.setFileManager(ListedApp{"d.files", "Files", "/Applications/d.app"});
    EXPECT_EQ(scanner.scan().size(), 4u) << "listed already";
    world.catalog.setFileManager(ListedApp{"org.fm", "Browser of Folders", "/usr/share/applications/org.fm.desktop"});
    const std::vector<InstalledApp> apps = scanner.scan();
    ASSERT_EQ(apps.size(), 5u);
    EXPECT_EQ(apps.front().appId, "org.fm") << "sorted in with the others";
}

TEST_F(InstalledAppsScannerTest, UnreadableEntriesAreLeftOutAndLoggedOncePerDifferentSet) {
    install("/Applications/Good.app", "good");
    install("/Applications/Bad.app", "bad", "Caf\xe9");
    install("/Applications/caf\xe9.app", "cafe", "Cafe");
    install("/Applications/Line\n.app", "line", std::string("\xff", 1));
    world.catalog.setFileManager(ListedApp{"fm", std::nullopt, "/usr/share/applications/fm.desktop"});
    EXPECT_THAT(names(), ElementsAre("Good")) << "the scan goes on past every broken entry";
    const std::vector<std::string> lines = world.log.lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0],
              "Quillbern: 4 application entries were left out: no readable name, or a name or file name that is not "
              "UTF-8: /Applications/Bad.app, /Applications/Line\\n.app, /Applications/caf\\xe9.app, …");

    scanner.scan();
    EXPECT_EQ(world.log.lines().size(), 1u) << "the same set is not told again";
    world.catalog.uninstall("/Applications/Bad.app");
    world.catalog.setFileManager(std::nullopt);
    scanner.scan();
    ASSERT_EQ(world.log.lines().size(), 2u);
    EXPECT_THAT(world.log.lines()[1], ::testing::HasSubstr("2 application entries were left out"));
    world.catalog.uninstall("/Applications/caf\xe9.app");
    world.catalog.uninstall("/Applications/Line\n.app");
    scanner.scan();
    EXPECT_EQ(world.log.lines().size(), 2u) << "nothing left out: nothing to say";
}

}  // namespace
}  // namespace quillbern
