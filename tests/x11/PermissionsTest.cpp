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
    int told = 0;
    Subscription changes = permissions.onTrustChange([&] { ++told; });
    ASSERT_TRUE(changes) << "followed, not polled";
    setCheck(dead);
    EXPECT_TRUE(spinUntil([&] { return !permissions.isWindowAccessTrusted(); }));
    EXPECT_EQ(told, 1);
    setCheck(manager.front());
    EXPECT_TRUE(spinUntil([&] { return permissions.isWindowAccessTrusted(); }));
    EXPECT_EQ(told, 2);

    // A manager that dies destroys its check window and leaves the root's property behind:
    // only the window's end tells.
    const xcb_window_t check = xcb_generate_id(probe.c());
    xcb_create_window(probe.c(), XCB_COPY_FROM_PARENT, check, probe.root(), -10, -10, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    setCheck(check);
    EXPECT_TRUE(spinUntil([&] { return told == 3; })) << "a window that does not name itself";
    xcb_change_property(probe.c(), XCB_PROP_MODE_REPLACE, check, probe.atom("_NET_SUPPORTING_WM_CHECK"),
                        XCB_ATOM_WINDOW, 32, 1, &check);
    xcb_flush(probe.c());
    EXPECT_TRUE(spinUntil([&] { return told == 4; }));
    EXPECT_TRUE(permissions.isWindowAccessTrusted());
    xcb_destroy_window(probe.c(), check);
    xcb_flush(probe.c());
    EXPECT_TRUE(spinUntil([&] { return told == 5; }));
    EXPECT_FALSE(permissions.isWindowAccessTrusted());
    setCheck(manager.front());
    EXPECT_TRUE(spinUntil([&] { return permissions.isWindowAccessTrusted(); }));
}
