#include <gtest/gtest.h>

#include "linux/x11/X11UserTime.h"
#include "sim/SimClock.h"

using namespace quillbern;

TEST(X11UserTime, ARequestCarriesTheTimeOfTheLatestInputOnlyWhileItCanHaveCausedIt) {
    SimClock clock;
    X11UserTime user(clock);
    EXPECT_EQ(user.requestTime(), 0u) << "no input yet";
    user.note(1000);
    user.note(1200);
    EXPECT_EQ(user.requestTime(), 1200u);
    clock.advance(X11UserTime::kCauseLimit);
    EXPECT_EQ(user.requestTime(), 1200u);
    clock.advance(0.1);
    EXPECT_EQ(user.requestTime(), 0u) << "the window manager takes its own time for a request input did not cause";
    user.note(9000);
    EXPECT_EQ(user.requestTime(), 9000u);
}
