#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "core/tiles/ThumbnailCache.h"
#include "sim/SimWorld.h"

namespace quillbern {
namespace {

class Thumbnails : public ::testing::Test {
protected:
    SimSerialQueue* queue() const { return world.threads.queue(ThumbnailCache::kQueueLabel); }
    // Makes every waiting thumbnail and delivers it.
    void settle() {
        world.runUntilIdle();
        while (queue() && queue()->runNext())
            world.runUntilIdle();
    }
    // What a request hands back: nothing yet, none, or a picture.
    struct Answer {
        bool answered = false;
        ImageHandle image;
    };
    std::shared_ptr<Answer> ask(const Path& file, std::optional<WallTime> modified, CancelToken token = {},
                                double scale = 2) {
        auto answer = std::make_shared<Answer>();
        cache.thumbnail(file, modified, 64, scale, token, [answer](ImageHandle image) {
            answer->answered = true;
            answer->image = std::move(image);
        });
        return answer;
    }
    std::size_t made() const { return world.thumbnailer.requests().size(); }

    SimWorld world;
    ThumbnailCache cache{{.mainLoop = world.mainLoop, .threads = world.threads, .thumbnailer = world.thumbnailer}};
};

TEST_F(Thumbnails, KeysHoldThePathAndTheChangeTimeInTheShortestExactText) {
    EXPECT_EQ(ThumbnailCache::key("/a/b.png", WallTime{1700000000.5}), "/a/b.png|1700000000.5");
    EXPECT_EQ(ThumbnailCache::key("/a/b.png", WallTime{0.1}), "/a/b.png|0.1");
    EXPECT_EQ(ThumbnailCache::key("/a/b.png", WallTime{1700000000.123456789}), "/a/b.png|1700000000.1234567");
    EXPECT_EQ(ThumbnailCache::key("/a/b.png", std::nullopt), "/a/b.png|-");
}

TEST_F(Thumbnails, ASecondRequestIsAnsweredAtOnceWithoutMakingItAgain) {
    world.thumbnailer.setPicture("/p/a.png", 128);
    const auto first = ask("/p/a.png", WallTime{10});
    EXPECT_FALSE(first->answered) << "made off the main thread";
    settle();
    ASSERT_TRUE(first->answered);
    ASSERT_TRUE(first->image);
    EXPECT_EQ(made(), 1u);
    EXPECT_EQ(world.thumbnailer.requests()[0].sidePx, 128) << "64 points at two pixels a point";

    const auto second = ask("/p/a.png", WallTime{10});
    EXPECT_TRUE(second->answered) << "a kept thumbnail comes at once";
    EXPECT_EQ(second->image, first->image);
    EXPECT_EQ(made(), 1u);
}

TEST_F(Thumbnails, AChangedFileIsMadeAgainUnderANewKeyAndTheOldOneStays) {
    world.thumbnailer.setPicture("/p/a.png", 128);
    ask("/p/a.png", WallTime{10});
    settle();
    const auto changed = ask("/p/a.png", WallTime{11});
    EXPECT_FALSE(changed->answered);
    settle();
    EXPECT_TRUE(changed->image);
    EXPECT_EQ(made(), 2u);
    EXPECT_TRUE(cache.holds(ThumbnailCache::key("/p/a.png", WallTime{10})));
    EXPECT_TRUE(cache.holds(ThumbnailCache::key("/p/a.png", WallTime{11})));
}

TEST_F(Thumbnails, AFileWithoutOneIsAskedAgainEveryTime) {
    const auto first = ask("/p/notes.txt", WallTime{1});
    settle();
    EXPECT_TRUE(first->answered);
    EXPECT_FALSE(first->image);
    ask("/p/notes.txt", WallTime{1});
    settle();
    EXPECT_EQ(made(), 2u) << "failures are not remembered";
    EXPECT_EQ(cache.size(), 0u);
}

// Measured: one slow SVG in a pinned folder kept the thumbnails' thread busy for hours, and no
// other thumbnail was made.
TEST_F(Thumbnails, OneNotMadeInItsFirstTimeWaitsForTheOthersAndOneNeverMadeIsGivenUp) {
    world.thumbnailer.setPicture("/p/slow.svg", 128);
    world.thumbnailer.setOutcome("/p/slow.svg", Thumbnail::Outcome::overran, 1);
    world.thumbnailer.setOutcome("/p/endless.svg", Thumbnail::Outcome::overran, 1e9);
    world.thumbnailer.setOutcome("/p/crashing.svg", Thumbnail::Outcome::lost);
    world.thumbnailer.setPicture("/p/plain.png", 128);
    const auto slow = ask("/p/slow.svg", WallTime{1});
    const auto endless = ask("/p/endless.svg", WallTime{1});
    const auto crashing = ask("/p/crashing.svg", WallTime{1});
    const auto plain = ask("/p/plain.png", WallTime{1});
    settle();
    std::vector<std::pair<Path, Duration>> asked;
    for (const SimThumbnailer::Request& request : world.thumbnailer.requests())
        asked.emplace_back(request.file, request.limit);
    const Duration first = ThumbnailCache::kFirstMakingTime;
    const Duration second = ThumbnailCache::kMostMakingTime;
    EXPECT_EQ(asked, (std::vector<std::pair<Path, Duration>>{{"/p/slow.svg", first},
                                                             {"/p/endless.svg", first},
                                                             {"/p/crashing.svg", first},
                                                             {"/p/plain.png", first},
                                                             {"/p/slow.svg", second},
                                                             {"/p/endless.svg", second}}));
    EXPECT_TRUE(slow->image);
    EXPECT_TRUE(plain->image);
    EXPECT_TRUE(endless->answered && !endless->image);
    EXPECT_TRUE(crashing->answered && !crashing->image);

    EXPECT_TRUE(ask("/p/endless.svg", WallTime{1})->answered) << "given up: answered at once";
    EXPECT_TRUE(ask("/p/crashing.svg", WallTime{1})->answered);
    settle();
    EXPECT_EQ(made(), asked.size()) << "and not made again";
    ask("/p/crashing.svg", WallTime{2});
    settle();
    EXPECT_EQ(made(), asked.size() + 1) << "until its file changes";
}

TEST_F(Thumbnails, ThePictureMeasuresItsPixelsOverTheScaleInPoints) {
    EXPECT_EQ(ThumbnailCache::scaleFor({}), 2) << "no screens";
    const std::vector<double> scales{1, 1.5, 1.25};
    EXPECT_EQ(ThumbnailCache::scaleFor(scales), 1.5);

    world.thumbnailer.setPicture("/p/a.png", 128);
    const auto answer = ask("/p/a.png", WallTime{1}, {}, ThumbnailCache::scaleFor({}));
    settle();
    ASSERT_TRUE(answer->image);
    EXPECT_EQ(answer->image->widthPx / answer->image->scale, 64);
    EXPECT_EQ(answer->image->heightPx / answer->image->scale, 64);
}

TEST_F(Thumbnails, TheNewKeyPastTheLimitEvictsTheSixtyFourOldest) {
    for (int i = 0; i < 257; ++i)
        world.thumbnailer.setPicture("/p/" + std::to_string(i), 128);
    for (int i = 0; i < 256; ++i)
        ask("/p/" + std::to_string(i), WallTime{1});
    settle();
    EXPECT_EQ(cache.size(), 256u);
    ask("/p/256", WallTime{1});
    settle();
    EXPECT_EQ(cache.size(), 193u);
    EXPECT_FALSE(cache.holds(ThumbnailCache::key("/p/0", WallTime{1})));
    EXPECT_FALSE(cache.holds(ThumbnailCache::key("/p/63", WallTime{1})));
    EXPECT_TRUE(cache.holds(ThumbnailCache::key("/p/64", WallTime{1})));
    EXPECT_TRUE(cache.holds(ThumbnailCache::key("/p/256", WallTime{1})));
}

TEST_F(Thumbnails, TwoRequestsForOneKeyStoreItOnce) {
    world.thumbnailer.setPicture("/p/a.png", 128);
    for (int i = 0; i < 256; ++i)
        world.thumbnailer.setPicture("/q/" + std::to_string(i), 128);
    const auto first = ask("/p/a.png", WallTime{1});
    const auto second = ask("/p/a.png", WallTime{1});
    settle();
    EXPECT_TRUE(first->image);
    EXPECT_TRUE(second->image);
    EXPECT_EQ(cache.size(), 1u);
    // Were the key counted twice, the limit would come one key early.
    for (int i = 0; i < 255; ++i)
        ask("/q/" + std::to_string(i), WallTime{1});
    settle();
    EXPECT_EQ(cache.size(), 256u);
}

TEST_F(Thumbnails, ACancelledRequestIsNotMadeOrStoredAndCallsNothing) {
    world.thumbnailer.setPicture("/p/a.png", 128);
    world.thumbnailer.setPicture("/p/b.png", 128);
    CancelToken before;
    const auto notBegun = ask("/p/a.png", WallTime{1}, before);
    before.cancel();
    settle();
    EXPECT_FALSE(notBegun->answered);
    EXPECT_EQ(made(), 0u) << "cancelled before its turn: never made";

    CancelToken during;
    const auto begun = ask("/p/b.png", WallTime{1}, during);
    queue()->runNext();
    during.cancel();
    world.runUntilIdle();
    EXPECT_FALSE(begun->answered);
    EXPECT_EQ(made(), 1u);
    EXPECT_EQ(cache.size(), 0u) << "made, but the asker had gone";

    // It comes back into view: asked again, made again.
    const auto again = ask("/p/b.png", WallTime{1});
    settle();
    EXPECT_TRUE(again->image);
}

}  // namespace
}  // namespace quillbern
