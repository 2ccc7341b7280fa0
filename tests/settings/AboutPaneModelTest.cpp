#include <gtest/gtest.h>

#include "core/settings/AboutPaneModel.h"
#include "settings/SettingsTest.h"

namespace quillbern {
namespace {

std::vector<std::string> labels(const std::vector<WebLink>& links) {
    std::vector<std::string> result;
    for (const WebLink& link : links)
        result.push_back(link.label + " " + link.symbol + " " + link.address.text());
    return result;
}

// Without an updater, as on Linux.
class About : public testing::SettingsTest {
protected:
    SimWorld& world = w.world;
    SimAppProcess& process = w.process;
    UpdaterController updater{nullptr, world.mainLoop};
};

TEST_F(About, TheVersionLineShowsADashForWhatTheBuildDoesNotName) {
    const AboutPaneModel about(process, updater, world.launcher, {});
    EXPECT_EQ(about.versionLine(), "2.1 (57)");
    process.setBuildNumber(std::nullopt);
    EXPECT_EQ(about.versionLine(), "2.1 (—)");
    process.setVersion(std::nullopt);
    EXPECT_EQ(about.versionLine(), "— (—)");
}

TEST_F(About, CheckNowOnlyWithAnUpdaterThatCanCheck) {
    AboutPaneModel without(process, updater, world.launcher, {});
    EXPECT_FALSE(without.canCheckForUpdates());
    without.checkForUpdates();

    SimUpdater sim;
    UpdaterController checking(&sim, world.mainLoop);
    AboutPaneModel with(process, checking, world.launcher, {});
    sim.setCanCheck(false);
    EXPECT_FALSE(with.canCheckForUpdates());
    sim.setCanCheck(true);
    EXPECT_TRUE(with.canCheckForUpdates());
    with.checkForUpdates();
    EXPECT_EQ(sim.checks(), 1);
}

TEST_F(About, LinksComeInOrderAndOnlyWhereTheirAddressIsOne) {
    MakerAddresses addresses{.supportPage = "https://quillbern.example/support",
                             .webSite = "https://Quillbern.example",
                             .privacyPage = "https://quillbern.example/legal/privacy",
                             .authorName = "Ada Byron",
                             .authorSite = "https://ada.example/about",
                             .supportEmail = "help@quillbern.example"};
    AboutPaneModel about(process, updater, world.launcher, addresses);
    EXPECT_EQ(labels(about.links()),
              (std::vector<std::string>{"quillbern.example globe https://Quillbern.example",
                                        "help@quillbern.example envelope mailto:help@quillbern.example",
                                        "Ada Byron — ada.example person.crop.circle https://ada.example/about",
                                        "Privacy policy hand.raised https://quillbern.example/legal/privacy"}));
    EXPECT_TRUE(about.open(about.links()[3]));
    EXPECT_EQ(world.launcher.openedLocations(), std::vector<std::string>{"https://quillbern.example/legal/privacy"});

    addresses.webSite = "quillbern.example";
    addresses.privacyPage = "https://quillbern.example/legal/privacy policy";
    addresses.authorName = "";
    addresses.supportEmail = "";
    EXPECT_EQ(labels(AboutPaneModel(process, updater, world.launcher, addresses).links()),
              std::vector<std::string>{"ada.example person.crop.circle https://ada.example/about"});
    EXPECT_TRUE(AboutPaneModel(process, updater, world.launcher, {}).links().empty());
}

}  // namespace
}  // namespace quillbern
