#include <gtest/gtest.h>

#include "core/windows/AccessFunctions.h"
#include "core/windows/Displays.h"
#include "sim/SimLog.h"
#include "sim/SimWindowSystem.h"
#include "windows/WindowWorld.h"

namespace quillbern {
namespace {

using testing::kPrimary;
using testing::kSecondary;

constexpr const char* kWarning = "window identity is unavailable";

TEST(AccessFunctions, ReadsOfTheWrongTypeOrThatFailGiveNoValue) {
    SimWindowSystem system;
    const ElementRef window = system.addWindow(10, {.id = 5, .title = "T", .frame = {1, 2, 3, 4}});
    EXPECT_EQ(axBool(system, window, Attribute::minimized), false);
    system.set(window, Attribute::minimized, std::string("yes"));
    EXPECT_EQ(axBool(system, window, Attribute::minimized), std::nullopt);
    system.failReads(window, Attribute::fullScreen, 1);
    EXPECT_EQ(axBool(system, window, Attribute::fullScreen), std::nullopt);
    EXPECT_EQ(axBool(system, window, Attribute::fullScreen), false);
    EXPECT_EQ(axElement(system, window, Attribute::title), std::nullopt);
}

TEST(AccessFunctions, AFrameNeedsBothPositionAndSize) {
    SimWindowSystem system;
    const ElementRef window = system.addWindow(10, {.id = 5, .frame = {100, 50, 640, 480}});
    EXPECT_EQ(axFrame(system, window), (RectTL{100, 50, 640, 480}));
    system.failReads(window, Attribute::size, 1);
    EXPECT_EQ(axFrame(system, window), std::nullopt);
    system.set(window, Attribute::position, std::monostate{});
    EXPECT_EQ(axFrame(system, window), std::nullopt);
}

TEST(AccessFunctions, OnlyAMissingWindowNumberCallWarnsAndOnlyOnce) {
    SimLog log;
    SimWindowSystem system;
    MissingWindowIdWarning warning;
    const ElementRef window = system.addWindow(10, {.id = 5});
    EXPECT_EQ(cgWindowID(system, window, warning), 5u);

    system.setWindowIdAnswer(window, Read<WindowId>::of(0));
    EXPECT_EQ(cgWindowID(system, window, warning), std::nullopt);
    system.setWindowIdAnswer(window, Read<WindowId>::failure());
    EXPECT_EQ(cgWindowID(system, window, warning), std::nullopt);
    EXPECT_EQ(log.count(kWarning), 0);

    system.setWindowIdAnswer(window, Read<WindowId>::failure(ReadFailure::notImplemented));
    EXPECT_EQ(cgWindowID(system, window, warning), std::nullopt);
    EXPECT_EQ(cgWindowID(system, window, warning), std::nullopt);
    EXPECT_EQ(log.count(kWarning), 1);
    EXPECT_TRUE(log.contains("Quillbern: the window-number call is gone"));
}

TEST(AccessFunctions, OnScreenBoundsKeepLayerZeroWindowsWithNumberAndBounds) {
    SimWindowSystem system;
    system.addWindow(10, {.id = 5, .frame = {0, 0, 100, 100}});
    system.addWindow(10, {.id = 6, .frame = {0, 0, 50, 50}, .onScreen = false});
    system.addListedWindow({7, 25, RectTL{0, 0, 1920, 24}});  // a menu
    system.addListedWindow({8, 0, std::nullopt});             // no bounds
    system.addListedWindow({5, 0, RectTL{9, 9, 9, 9}});       // a later entry replaces
    const OnScreenBounds bounds = cgOnScreenBounds(system);
    EXPECT_EQ(bounds.size(), 1u);
    EXPECT_EQ(bounds.at(5), (RectTL{9, 9, 9, 9}));

    system.setListUnreadable(true);
    EXPECT_TRUE(cgOnScreenBounds(system).empty());
}

TEST(Displays, AWindowBelongsToTheDisplayHoldingItsCentre) {
    testing::WindowWorld world;
    const auto all = world.world.screens.screens();
    EXPECT_EQ(displayIDForWindowBounds(all, {100, 100, 400, 300}), kPrimary);
    // The secondary's top edge lies 56 points below the primary's in window space.
    EXPECT_EQ(displayIDForWindowBounds(all, {2000, 100, 400, 300}), kSecondary);
    // Mostly on the primary, centre on the secondary.
    EXPECT_EQ(displayIDForWindowBounds(all, {1800, 400, 400, 300}), kSecondary);
    // Centre above the secondary, beside the primary: on no display.
    EXPECT_EQ(displayIDForWindowBounds(all, {2000, 0, 400, 40}), kPrimary);
    // Half-open: the centre on the primary's right edge is the secondary's.
    EXPECT_EQ(displayIDForWindowBounds(all, {1820, 500, 200, 100}), kSecondary);
    EXPECT_EQ(displayIDForWindowBounds(all, RectTL::null()), kPrimary);
    EXPECT_EQ(mainDisplayID({}), 0u);
}

}  // namespace
}  // namespace quillbern
