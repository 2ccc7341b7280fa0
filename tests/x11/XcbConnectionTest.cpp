#include <chrono>
#include <gtest/gtest.h>

#include "linux/x11/XcbConnection.h"
#include "sim/SimLog.h"

using namespace quillbern;

TEST(XcbConnection, ErrorsOfRequestsNobodyChecksAreLoggedOncePerKind) {
    SimLog log;
    const auto connection = XcbConnection::open();
    ASSERT_NE(connection, nullptr);
    xcb_connection_t* c = connection->xcb();
    const xcb_window_t missing = xcb_generate_id(c);  // an id no window was made with
    for (int i = 0; i < 3; ++i) {
        xcb_map_window(c, missing);
        xcb_unmap_window(c, missing);
    }
    ASSERT_TRUE(connection->sync(std::chrono::steady_clock::now() + std::chrono::seconds(60)));
    EXPECT_TRUE(connection->takeEvents().empty()) << "errors are no events";
    EXPECT_EQ(log.count("the X server refused a request: BadWindow for request 8.0"), 1);   // MapWindow
    EXPECT_EQ(log.count("the X server refused a request: BadWindow for request 10.0"), 1);  // UnmapWindow
}
