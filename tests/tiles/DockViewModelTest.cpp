#include <functional>
#include <gtest/gtest.h>

#include "core/tiles/DockViewModel.h"
#include "core/tiles/DropHighlight.h"
#include "tiles/TilesWorld.h"

namespace quillbern {
namespace {

using testing::app;
using testing::dock;
using testing::kLeft;
using testing::kRight;
using testing::window;

class ViewModel : public ::testing::Test {
protected:
    void open(std::vector<PinnedItem> items, bool trusted = true, bool showsWindows = true) {
        w.open({dock(1, DockEdge::bottom, std::move(items), showsWindows)}, trusted);
        model = std::make_unique<DockViewModel>(*w.engine, *w.pinned, *w.appearance, testing::dockId(1), kLeft);
    }
    std::vector<Pid> transientPids() const {
        std::vector<Pid> pids;
        for (const TransientDockApp& entry : model->transientApps())
            pids.push_back(entry.pid);
        return pids;
    }

    testing::TilesWorld w;
    std::unique_ptr<DockViewModel> model;
};

TEST_F(ViewModel, RunningApplicationsOfThisDisplayThatAreNotPinned) {
    open({app("mail", "Mail")});
    w.run(10, "mail", "Mail");
    w.run(11, "web", "Web");
    w.run(12, "notes", "Notes");
    w.run(13, "term", "Term");
    w.showWindows({window(1, 11, "Web", kLeft), window(2, 10, "Mail", kLeft), window(3, 12, "Notes", kRight),
                   window(4, 13, "Terminal", kLeft), window(5, 13, "Other name", kLeft)});
    EXPECT_EQ(transientPids(), (std::vector<Pid>{11, 13})) << "the pinned one and the other display's are left out";
    EXPECT_EQ(model->transientApps()[1].name, "Terminal") << "named after its first window";
    EXPECT_EQ(model->transientApps()[1].bundleID, "term");

    // A process that quit after the snapshot gives no entry.
    w.world.apps.terminate(11);
    w.world.runUntilIdle();
    EXPECT_EQ(transientPids(), (std::vector<Pid>{13}));
}

TEST_F(ViewModel, AProcessWithoutIdentityIsListedEvenBesidePinnedApplications) {
    open({app("mail", "Mail")});
    w.run(20, std::nullopt, "tool");
    w.showWindows({window(1, 20, "tool", kLeft)});
    ASSERT_EQ(model->transientApps().size(), 1u);
    EXPECT_EQ(model->transientApps()[0].bundleID, std::nullopt);
}

TEST_F(ViewModel, AProcessInsideAPinnedApplicationCountsAsThatApplication) {
    open({app("suite", "Suite")});
    w.world.catalog.install("/apps/Suite.app", {"suite", std::nullopt, std::nullopt, "Suite"});
    RunningApp helper;
    helper.pid = 30;
    helper.appId = "helper";
    helper.appPath = "/apps/Suite.app/Contents/Helper.app";
    w.world.apps.launch(helper);
    w.world.runUntilIdle();
    w.showWindows({window(1, 30, "Helper", kLeft)});
    EXPECT_TRUE(model->transientApps().empty());
}

TEST_F(ViewModel, NothingIsListedWithoutWindowsShownOrWithoutAccess) {
    open({}, /*trusted=*/false);
    w.run(11, "web", "Web");
    w.showWindows({window(1, 11, "Web", kLeft)});
    EXPECT_TRUE(model->transientApps().empty());
    EXPECT_EQ(model->content().body, BarBody::authorizeAndHint);

    open({}, /*trusted=*/true, /*showsWindows=*/false);
    w.showWindows({window(1, 11, "Web", kLeft)});
    EXPECT_TRUE(model->transientApps().empty());
    EXPECT_EQ(model->content().body, BarBody::dragHint);
}

TEST_F(ViewModel, ARemovedDockShowsNothingOfItsOwn) {
    w.open({dock(1, DockEdge::left, {app("mail", "Mail")}), dock(2, DockEdge::bottom)});
    model = std::make_unique<DockViewModel>(*w.engine, *w.pinned, *w.appearance, testing::dockId(1), kLeft);
    w.run(11, "web", "Web");
    w.showWindows({window(1, 11, "Web", kLeft)});
    EXPECT_EQ(model->transientApps().size(), 1u);
    w.pinned->deleteOrResetProfile(testing::dockId(1));
    EXPECT_EQ(model->profile(), std::nullopt);
    EXPECT_TRUE(model->transientApps().empty());
    EXPECT_EQ(model->content().body, BarBody::dragHint);
    EXPECT_EQ(model->bounceVector(), (Size{0, -w.appearance->tileSize() * 0.15}));
}

TEST_F(ViewModel, FocusAndTheBestWindowAnswerForThisDisplay) {
    open({});
    WindowInfo focused = window(2, 11, "Web", kRight);
    focused.isFocused = true;
    w.showWindows({window(1, 10, "Mail", kLeft), focused});
    EXPECT_EQ(model->focusedPID(), 11) << "focus on another display counts";
    const std::vector<WindowInfo> web{focused, window(3, 11, "Web", kLeft)};
    EXPECT_EQ(model->bestWindow(web)->id, 3u) << "this dock's display first";
}

TEST_F(ViewModel, EveryStoreTheViewReadsTellsOfItsChanges) {
    open({});
    int changes = 0;
    const Subscription observer = model->changed.connect([&] { ++changes; });
    const auto told = [&changes](const std::function<void()>& change) {
        const int before = changes;
        change();
        return changes > before;
    };
    EXPECT_TRUE(told([&] { w.showWindows({window(1, 10, "Mail", kLeft)}); })) << "the window snapshot";
    EXPECT_TRUE(told([&] { w.pinned->pin("mail", "Mail", std::nullopt, testing::dockId(1)); })) << "the docks";
    EXPECT_TRUE(told([&] { w.run(10, "mail", "Mail"); })) << "the running applications";
    const int beforeLaunch = changes;
    w.run(11, "term", "Term");
    EXPECT_EQ(changes - beforeLaunch, 1) << "once: every refresh leaves the launching applications alone";
    EXPECT_TRUE(told([&] { w.appearance->setShowsLabels(true); })) << "the look";
    w.install("web", "Web", Qt::green);
    EXPECT_TRUE(told([&] { w.pinned->launchOrActivate("web", std::nullopt); })) << "the launching applications";
    EXPECT_TRUE(told([&] { w.pinned->setDragSession(DragSession{"app:mail", testing::dockId(1)}); })) << "a drag";

    // The trust in window access, as the engine's poll finds it.
    w.engine->start();
    w.world.permissions.setWindowAccessTrusted(false);
    EXPECT_TRUE(told([&] { w.world.advance(WindowEngine::kTrustPollInterval); }));
    EXPECT_FALSE(w.engine->isTrusted());
}

TEST_F(ViewModel, TheFrameCountsTheTilesTheViewShows) {
    open({app("mail", "Mail"), app("web", "Web")});
    w.run(10, "mail", "Mail");
    w.run(12, "notes", "Notes");
    w.run(13, "term", "Term");
    w.showWindows({window(1, 10, "Mail", kLeft), window(2, 12, "Notes", kLeft), window(3, 13, "Term", kLeft),
                   window(4, 13, "Term", kLeft), window(5, 14, "Gone", kLeft)});
    w.appearance->setTileSize(48);
    EXPECT_EQ(model->transientApps().size(), 2u) << "Notes and Term, once; Mail is pinned, Gone runs no more";
    EXPECT_EQ(w.panelSize(1, kLeft).width(), 4 * 48 + 3 * 8 + 12 + 36);
}

TEST(DropHighlight, TheBarOrAnyTileUnderTheDragHighlights) {
    DropHighlight drop;
    int changes = 0;
    const Subscription observer = drop.changed.connect([&] { ++changes; });
    drop.tileDragEntered();
    EXPECT_TRUE(drop.isHighlighted()) << "a drag over one tile only";
    drop.tileDragEntered();
    drop.tileDragExited();
    EXPECT_TRUE(drop.isHighlighted());
    drop.setBarTargeted(true);
    EXPECT_EQ(drop.tileDragHovers(), 0) << "reaching the bar leaves every tile";
    drop.setBarTargeted(false);
    EXPECT_FALSE(drop.isHighlighted());
    drop.tileDragExited();
    EXPECT_EQ(drop.tileDragHovers(), 0) << "never below none";
    EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace quillbern
