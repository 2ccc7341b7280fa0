#include <gtest/gtest.h>

#include "core/settings/SupportPaneModel.h"
#include "settings/SettingsTest.h"

namespace quillbern {
namespace {

// The model on an engine and previews of its own, on the world the shell would run on.
class Support : public testing::SettingsTest {
protected:
    SimWorld& world = w.world;
    SimAppProcess& process = w.process;
    SimWindowCapture& capture = w.capture;
    WindowEngine engine{world.enginePorts()};
    PreviewStore previews{{.defaults = world.defaults,
                           .permissions = world.permissions,
                           .launcher = world.launcher,
                           .screens = world.screens,
                           .session = world.session,
                           .capture = capture,
                           .clock = world.clock,
                           .mainLoop = world.mainLoop}};
    MakerAddresses addresses = [] {
        MakerAddresses made;
        made.supportPage = "https://quillbern.example/support";
        made.supportEmail = "help@quillbern.example";
        return made;
    }();
    std::optional<SupportPaneModel> model;

    void SetUp() override {
        world.screens.setScreens({ScreenInfo{}, ScreenInfo{}});
        world.permissions.setTellsTrustChanges(true);
        engine.start();
    }
    void TearDown() override {
        model.reset();
        engine.stop();
        world.runUntilIdle();
    }
    SupportPaneModel& make() {
        model.emplace(SupportPaneModel::Ports{.process = process,
                                              .screens = world.screens,
                                              .engine = engine,
                                              .previews = previews,
                                              .clipboard = world.clipboard,
                                              .launcher = world.launcher,
                                              .mainLoop = world.mainLoop},
                      addresses);
        return *model;
    }
    std::string url() {
        const std::optional<WebAddress> made = make().supportUrl();
        return made ? made->text() : "none";
    }
};

TEST_F(Support, TheVersionAndTheLanguageFallBackPieceByPiece) {
    EXPECT_EQ(make().version(), "2.1 (57)");
    process.setBuildNumber(std::nullopt);
    EXPECT_EQ(make().version(), "2.1 (?)");
    process.setVersion(std::nullopt);
    EXPECT_EQ(make().version(), "? (?)");

    process.setPreferredLanguages({"zh-Hans", "en"});
    EXPECT_EQ(make().language(), "zh");
    process.setPreferredLanguages({"pt-BR"});
    EXPECT_EQ(make().language(), "pt");
    process.setPreferredLanguages({});
    process.setRegionLanguage("de");
    EXPECT_EQ(make().language(), "de");
    process.setRegionLanguage(std::nullopt);
    EXPECT_EQ(make().language(), "en");
}

TEST_F(Support, TheSupportPageCarriesTheLanguageAndTheVersionAsWritten) {
    EXPECT_EQ(url(), "https://quillbern.example/support?lang=en&v=2.1%20(57)");

    // Characters that would end or change a query value reach the page as written.
    process.setVersion("2.1+beta&x=1#2");
    EXPECT_EQ(url(), "https://quillbern.example/support?lang=en&v=2.1%2Bbeta%26x%3D1%232%20(57)");

    // The page's own query gives way; its fragment stays.
    addresses.supportPage = "https://quillbern.example/support?from=app#top";
    process.setVersion("2.1");
    EXPECT_EQ(url(), "https://quillbern.example/support?lang=en&v=2.1%20(57)#top");

    for (const char* page : {"", "not a page", "mailto:help@quillbern.example", "https:///support"}) {
        addresses.supportPage = page;
        EXPECT_EQ(url(), "none") << page;
        EXPECT_FALSE(make().openSupport());
    }
    EXPECT_TRUE(world.launcher.openedLocations().empty());

    addresses.supportPage = "https://quillbern.example/support";
    EXPECT_TRUE(make().openSupport());
    EXPECT_EQ(world.launcher.openedLocations(),
              std::vector<std::string>{"https://quillbern.example/support?lang=en&v=2.1%20(57)"});
}

TEST_F(Support, TheMailLinkIsTheSupportAddressOnlyWhereItIsOne) {
    const std::optional<WebLink> mail = make().mailLink();
    ASSERT_TRUE(mail);
    EXPECT_EQ(mail->label, "help@quillbern.example");
    EXPECT_EQ(mail->address.text(), "mailto:help@quillbern.example");
    EXPECT_TRUE(model->open(*mail));
    EXPECT_EQ(world.launcher.openedLocations(), std::vector<std::string>{"mailto:help@quillbern.example"});

    for (const char* address : {"", "help", "help desk@quillbern.example"}) {
        addresses.supportEmail = address;
        EXPECT_FALSE(make().mailLink()) << address;
    }
}

TEST_F(Support, TheDiagnosticsFollowThePermissionsAndTheDisplays) {
    world.permissions.setCaptureAllowed(false);
    previews.refreshGrant();
    SupportPaneModel& support = make();
    int changes = 0;
    Subscription watch = support.diagnosticsChanged.connect([&] { ++changes; });
    EXPECT_EQ(support.diagnostics(),
              "Quillbern 2.1 (57)\nLinux 6.1.0\nDisplays: 2\nWindow access: granted\nWindow pictures: not granted");

    world.permissions.setCaptureAllowed(true);
    previews.refreshGrant();
    world.permissions.setWindowAccessTrusted(false);
    world.runUntilIdle();
    world.screens.setScreens({ScreenInfo{}});
    world.screens.fireChanged();
    process.setOsVersion({5, 15, 0});
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(support.diagnostics(),
              "Quillbern 2.1 (57)\nLinux 5.15.0\nDisplays: 1\nWindow access: not granted\nWindow pictures: granted");
}

TEST_F(Support, CopyPutsExactlyTheDiagnosticsOnTheClipboardAndEachCopyEndsTwoSecondsLater) {
    world.clipboard.setText("what the user had");
    SupportPaneModel& support = make();
    std::vector<bool> told;
    Subscription watch = support.copiedChanged.connect([&] { told.push_back(support.copied()); });

    support.copy();
    EXPECT_EQ(world.clipboard.text(), support.diagnostics());
    EXPECT_TRUE(support.copied());

    // A second copy a second later writes again, but the first copy's end still comes.
    world.advance(1.0);
    world.clipboard.holdOtherContent();
    support.copy();
    EXPECT_EQ(world.clipboard.text(), support.diagnostics());
    world.advance(0.99);
    EXPECT_TRUE(support.copied());
    world.advance(0.02);
    EXPECT_FALSE(support.copied());
    world.advance(1.0);
    EXPECT_FALSE(support.copied());
    EXPECT_EQ(told, (std::vector<bool>{true, false}));

    // A pane gone before its end leaves the timer nothing to do.
    support.copy();
    model.reset();
    world.advance(SupportPaneModel::kCopiedFor);
}

}  // namespace
}  // namespace quillbern
