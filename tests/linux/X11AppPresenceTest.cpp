#include <gtest/gtest.h>

#include "linux/x11/X11AppPresence.h"
#include "linux/x11/X11WindowFacts.h"

using namespace quillbern;

namespace {

constexpr Pid kOwn = 10;

ClientFacts window(xcb_window_t id, std::optional<Pid> pid) {
    ClientFacts facts;
    facts.window = id;
    facts.pid = pid;
    return facts;
}

ClientFacts minimised(ClientFacts facts) {
    facts.minimized = true;
    return facts;
}

}  // namespace

TEST(AppPresence, ProcessesWithApplicationWindowsAreApplicationsOnceEach) {
    ClientFacts dock = window(5, 300);
    dock.isDockOrDesktop = true;
    ClientFacts splash = window(6, 400);
    splash.isOrdinary = false;
    ClientTable table{{window(1, 100), window(2, 100), window(3, kOwn), window(4, std::nullopt), dock, splash}, 2};

    const AppPresence presence = presenceOf(table, kOwn);
    EXPECT_EQ(presence.pids,
              (std::map<Pid, ActivationPolicy>{{100, ActivationPolicy::regular}, {400, ActivationPolicy::accessory}}));
    EXPECT_EQ(presence.active, 100);
}

TEST(AppPresence, OurOwnActiveWindowMakesNoApplicationActive) {
    const ClientTable table{{window(1, 100), window(3, kOwn)}, 3};
    EXPECT_FALSE(presenceOf(table, kOwn).active);
}

TEST(AppPresence, ChangesAreTheDifferenceOfTwoLooks) {
    const AppPresence before{{{100, ActivationPolicy::regular}, {200, ActivationPolicy::regular}}, 100};
    const AppPresence after{{{200, ActivationPolicy::regular}, {300, ActivationPolicy::regular}}, 300};
    EXPECT_EQ(appChanges(before, after), (AppChanges{{300}, {100}, 300}));
}

TEST(AppPresence, NoActivationWhenTheActiveApplicationStaysOrNoneIsActive) {
    const AppPresence one{{{100, ActivationPolicy::regular}}, 100};
    const AppPresence none{{{100, ActivationPolicy::regular}}, std::nullopt};
    EXPECT_EQ(appChanges(one, one), AppChanges{});
    EXPECT_EQ(appChanges(one, none), AppChanges{});
    EXPECT_EQ(appChanges(none, one).activated, 100);
}

TEST(AppPresence, PoliciesReachKnownApplicationsOnlyAndTellWhetherOneChanged) {
    std::map<Pid, RunningApp> apps;
    apps[100].pid = 100;
    apps[200].pid = 200;
    apps[200].policy = ActivationPolicy::accessory;
    const AppPresence presence{
        {{100, ActivationPolicy::regular}, {200, ActivationPolicy::regular}, {300, ActivationPolicy::regular}},
        std::nullopt};
    EXPECT_TRUE(applyPolicies(apps, presence)) << "a process not identified yet is no failure";
    EXPECT_EQ(apps.size(), 2u);
    EXPECT_EQ(apps[200].policy, ActivationPolicy::regular);
    EXPECT_FALSE(applyPolicies(apps, presence));
}

TEST(AppPresence, TheBestWindowIsTheMostRecentlyActiveOneNotMinimised) {
    const ClientTable table{{window(1, 100), minimised(window(2, 100)), window(3, 100), window(4, 200)}, 4};
    EXPECT_EQ(bestWindow(table, 100, {4, 2, 3, 1})->window, 3u);
    // Never active: the front-most that is not minimised.
    EXPECT_EQ(bestWindow(table, 100, {})->window, 1u);
    EXPECT_EQ(bestWindow(table, 300, {}), nullptr);
}

TEST(AppPresence, AnApplicationWithOnlyMinimisedWindowsComesBackWithItsLatest) {
    const ClientTable table{{minimised(window(1, 100)), minimised(window(2, 100))}, XCB_WINDOW_NONE};
    EXPECT_EQ(bestWindow(table, 100, {2, 1})->window, 2u);
    EXPECT_EQ(bestWindow(table, 100, {})->window, 1u);
}

TEST(AppPresence, TheHistoryPutsTheActiveWindowFirstAndForgetsClosedOnes) {
    std::vector<xcb_window_t> recent{3, 9, 1};
    noteActiveWindow(recent, ClientTable{{window(1, 100), window(2, 100), window(3, 100)}, 1});
    EXPECT_EQ(recent, (std::vector<xcb_window_t>{1, 3}));
    noteActiveWindow(recent, ClientTable{{window(1, 100), window(3, 100)}, XCB_WINDOW_NONE});
    EXPECT_EQ(recent, (std::vector<xcb_window_t>{1, 3}));
}

TEST(WindowFacts, WmClassHoldsTheInstanceAndTheClass) {
    using Parts = std::pair<std::optional<std::string>, std::optional<std::string>>;
    EXPECT_EQ(wmClassParts(std::string("xterm\0XTerm\0", 12)), (Parts{"xterm", "XTerm"}));
    EXPECT_EQ(wmClassParts(std::string("\0Navigator\0", 11)), (Parts{std::nullopt, "Navigator"}));
    EXPECT_EQ(wmClassParts("solo"), (Parts{"solo", std::nullopt}));
    EXPECT_EQ(wmClassParts(""), (Parts{}));
}

TEST(WindowFacts, AProcessIsKnownByItsExecutable) {
    EXPECT_TRUE(executableOf(getpid()).value_or("").ends_with("/linux_tests"));
    EXPECT_FALSE(executableOf(0x3FFFFFFF));
}
