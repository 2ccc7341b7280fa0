#include <future>
#include <gtest/gtest.h>

#include "X11TestSupport.h"
#include "core/platform/SystemThreads.h"
#include "core/platform/WorkerStop.h"
#include "linux/x11/X11WindowCapture.h"

using namespace quillbern;
using namespace quillbern::test;

namespace {

template <class T>
Result<T> await(const std::function<void(std::function<void(Result<T>)>)>& ask) {
    auto promise = std::make_shared<std::promise<Result<T>>>();
    auto answer = promise->get_future();
    ask([promise](Result<T> result) { promise->set_value(std::move(result)); });
    if (answer.wait_for(std::chrono::seconds(5)) != std::future_status::ready) return Error{"no answer", "test", 0};
    return answer.get();
}

std::vector<CapturableWindow> listed(X11WindowCapture& capture) {
    return await<std::vector<CapturableWindow>>([&](auto done) { capture.listWindows(done); }).value();
}

Result<ImageHandle> picture(X11WindowCapture& capture, WindowId id, int w, int h) {
    return await<ImageHandle>([&](auto done) { capture.capture(id, w, h, done); });
}

// Red, green, blue, alpha of the pixel.
std::array<int, 4> pixel(const Image& image, int x, int y) {
    const auto at = (std::size_t(y) * std::size_t(image.pixels->width) + std::size_t(x)) * 4;
    const auto& bytes = image.pixels->rgbaPremultiplied;
    return {bytes[at], bytes[at + 1], bytes[at + 2], bytes[at + 3]};
}

}  // namespace

TEST(X11WindowCapture, CapturesAPartlyCoveredWindowWholeAndScaled) {
    SystemThreads threads;
    X11WindowCapture capture(threads);
    TestClient red({"--color", "ff0000", "--geometry", "300x200+600+200"});
    ASSERT_TRUE(red.started());

    // Listed with its size without decorations.
    std::optional<CapturableWindow> window;
    ASSERT_TRUE(spinUntil([&] {
        for (const CapturableWindow& w : listed(capture)) {
            if (w.id == red.window()) window = w;
        }
        return window.has_value();
    }));
    EXPECT_EQ(window->contentSize, (Size{300, 200}));
    EXPECT_EQ(window->pixelsPerPoint, 1);

    TestClient blue({"--color", "0000ff", "--geometry", "300x200+750+300"});
    ASSERT_TRUE(blue.started());
    ASSERT_EQ(run({"xdotool", "windowactivate", "--sync", std::to_string(blue.window())}), 0);

    // The covered lower right quarter is still red.
    Result<ImageHandle> whole = Error{};
    ASSERT_TRUE(spinUntil([&] {
        whole = picture(capture, red.window(), 300, 200);
        return whole && pixel(*whole.value(), 299, 199) == (std::array<int, 4>{255, 0, 0, 255});
    })) << (whole ? "last corner differs" : whole.error().message);
    const Image& image = *whole.value();
    EXPECT_EQ(image.widthPx, 300);
    EXPECT_EQ(image.heightPx, 200);
    EXPECT_EQ(pixel(image, 0, 0), (std::array<int, 4>{255, 0, 0, 255}));
    EXPECT_EQ(pixel(image, 250, 150), (std::array<int, 4>{255, 0, 0, 255}));

    const auto small = picture(capture, red.window(), 150, 100);
    ASSERT_TRUE(small);
    EXPECT_EQ(small.value()->pixels->width, 150);
    EXPECT_EQ(small.value()->pixels->height, 100);
    EXPECT_EQ(pixel(*small.value(), 140, 90), (std::array<int, 4>{255, 0, 0, 255}));
}

TEST(X11WindowCapture, AMinimisedOrVanishedWindowGivesNoPicture) {
    SystemThreads threads;
    X11WindowCapture capture(threads);
    TestClient client({});
    ASSERT_TRUE(client.started());
    ASSERT_TRUE(spinUntil([&] { return bool(picture(capture, client.window(), 30, 20)); }));

    ASSERT_EQ(run({"xdotool", "windowminimize", "--sync", std::to_string(client.window())}), 0);
    ASSERT_TRUE(spinUntil([&] { return !picture(capture, client.window(), 30, 20); }));
    EXPECT_FALSE(picture(capture, 0x7fffff, 30, 20));
}

TEST(X11WindowCapture, AWorkerStuckInATaskHoldsItsEndNoLongerThanTheLimitAndIsLeftBehind) {
    SystemThreads threads;
    auto capture = std::make_unique<X11WindowCapture>(threads);
    std::promise<void> entered;
    std::promise<void> letGo;
    capture->listWindows([&entered, gate = letGo.get_future().share()](const auto&) {
        entered.set_value();
        gate.wait();
    });
    ASSERT_EQ(entered.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);

    auto ended = std::async(std::launch::async, [&capture] { capture.reset(); });
    const bool endedInTime =
        ended.wait_for(std::chrono::duration<double>(WorkerStop::kLimit + 3)) == std::future_status::ready;
    letGo.set_value();
    ended.wait();
    EXPECT_TRUE(endedInTime);
    EXPECT_TRUE(threads.hasLeftWorkersBehind()) << "its task ends on what it shares";
}
