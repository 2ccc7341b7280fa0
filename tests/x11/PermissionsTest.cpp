#include <gtest/gtest.h>

#include "Backends.h"
#include "X11TestSupport.h"
#include "linux/x11/X11Permissions.h"

using namespace quillbern;
using namespace quillbern::test;

TEST(X11Permissions, TrustsWhileAWindowManagerAnswersAndAlwaysAllowsCapture) {
    Backends x;
    XProbe probe;
    X11Permissions permissions(*x.connection);
    EXPECT_TRUE(permissions.isWindowAccessTrusted());
    EXPECT_TRUE(permissions.requestWindowAccess());
    EXPECT_FALSE(permissions.staleEntryResetCommand());
    EXPECT_TRUE(permissions.isCaptureAllowed());
    bool granted = false;
    permissions.requestCaptureAccess([&](bool allowed) { granted = allowed; });
    EXPECT_TRUE(granted);

    // A manager that is gone leaves its check window's number behind: a dead window is no
    // manager.
    const auto manager = probe.cardinals(probe.root(), "_NET_SUPPORTING_WM_CHECK");
    ASSERT_EQ(manager.size(), 1u);
    const xcb_window_t dead = xcb_generate_id(probe.c());
    const auto setCheck = [&](xcb_window_t window) {
        xcb_change_property(probe.c(), XCB_PROP_MODE_REPLACE, probe.root(), probe.atom("_NET_SUPPORTING_WM_CHECK"),
                            XCB_ATOM_WINDOW, 32, 1, &window);
        xcb_flush(probe.c());
    };
    setCheck(dead);
    EXPECT_TRUE(spinUntil([&] { return !permissions.isWindowAccessTrusted(); }));
    setCheck(manager.front());
    EXPECT_TRUE(spinUntil([&] { return permissions.isWindowAccessTrusted(); }));
}
