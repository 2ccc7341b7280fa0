#include <gtest/gtest.h>

#include "linux/x11/X11WindowChanges.h"

using namespace quillbern;

namespace {

ClientFacts window(xcb_window_t id, Pid pid, RectTL frame = {10, 10, 100, 80}) {
    ClientFacts facts;
    facts.window = id;
    facts.pid = pid;
    facts.title = "T";
    facts.frame = frame;
    return facts;
}

}  // namespace

TEST(X11WindowChanges, TellsEachApplicationWhatChangedOnce) {
    ClientTable before;
    before.frontToBack = {window(1, 10), window(2, 20), window(3, 20, {0, 0, 50, 50})};
    before.active = 1;
    ClientTable after = before;
    after.frontToBack[1].frame = RectTL{30, 10, 120, 80};  // moved and resized
    after.frontToBack[2].title = "Renamed";
    after.frontToBack[2].frame = RectTL{5, 0, 50, 50};  // moved too: heard once
    EXPECT_EQ(windowChanges(before, after), (std::vector<WindowChange>{{20, ElementEvent::windowResized},
                                                                       {20, ElementEvent::windowMoved},
                                                                       {20, ElementEvent::titleChanged}}));
    EXPECT_TRUE(windowChanges(after, after).empty());
}

TEST(X11WindowChanges, OpeningClosingMinimisingAndFocusing) {
    ClientTable before;
    before.frontToBack = {window(1, 10), window(2, 20)};
    before.active = 1;

    ClientTable opened = before;
    opened.frontToBack.insert(opened.frontToBack.begin(), window(3, 20));
    EXPECT_EQ(windowChanges(before, opened),
              (std::vector<WindowChange>{{20, ElementEvent::windowCreated}, {20, ElementEvent::mainWindowChanged}}));

    // A closed window that was not the main one is still heard.
    ClientTable closed = opened;
    closed.frontToBack.pop_back();
    EXPECT_EQ(windowChanges(opened, closed), (std::vector<WindowChange>{{20, ElementEvent::mainWindowChanged}}));

    ClientTable minimised = before;
    minimised.frontToBack[0].minimized = true;
    EXPECT_EQ(windowChanges(before, minimised),
              (std::vector<WindowChange>{{10, ElementEvent::windowMinimized}, {10, ElementEvent::mainWindowChanged}}));
    EXPECT_EQ(windowChanges(minimised, before),
              (std::vector<WindowChange>{{10, ElementEvent::windowRestored}, {10, ElementEvent::mainWindowChanged}}));

    ClientTable focused = before;
    focused.active = 2;
    EXPECT_EQ(windowChanges(before, focused), (std::vector<WindowChange>{{10, ElementEvent::focusedWindowChanged},
                                                                         {20, ElementEvent::focusedWindowChanged}}));
}

TEST(X11WindowChanges, DocksAndWindowsWithoutAProcessAreNotHeard) {
    ClientTable before;
    ClientTable after;
    ClientFacts dock = window(1, 10);
    dock.isDockOrDesktop = true;
    ClientFacts anonymous = window(2, 0);
    anonymous.pid.reset();
    after.frontToBack = {dock, anonymous};
    EXPECT_TRUE(windowChanges(before, after).empty());
}
