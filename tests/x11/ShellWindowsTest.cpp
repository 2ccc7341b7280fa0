#include <QWidget>
#include <gtest/gtest.h>

#include "Backends.h"
#include "X11TestSupport.h"
#include "ui/shell/ShellWindowContext.h"

using namespace quillbern;
using namespace quillbern::test;

namespace {

std::optional<std::uint32_t> desktopOf(const XProbe& probe, xcb_window_t window) {
    const auto values = probe.cardinals(window, window == probe.root() ? "_NET_CURRENT_DESKTOP" : "_NET_WM_DESKTOP");
    return values.empty() ? std::nullopt : std::optional(values.front());
}

}  // namespace

// Settings and the walkthrough come forward through bringForward.
TEST(QtShellWindows, AWindowBroughtForwardAgainComesToTheDesktopTheUserIsOnInsteadOfTakingTheUserBack) {
    Backends x;
    XProbe probe;
    QWidget window;
    window.setWindowTitle("Quillbern Settings");
    window.setGeometry(300, 200, 400, 300);
    bringForward(window);
    const auto id = static_cast<xcb_window_t>(window.winId());
    ASSERT_TRUE(spinUntil([&] { return probe.isViewable(id) && desktopOf(probe, id) == 0u; }));

    ASSERT_EQ(run({"xdotool", "set_desktop", "1"}), 0);
    ASSERT_TRUE(spinUntil([&] { return desktopOf(probe, probe.root()) == 1u && !probe.isViewable(id); }));
    bringForward(window);
    EXPECT_TRUE(spinUntil([&] { return probe.isViewable(id) && desktopOf(probe, id) == 1u; }));
    EXPECT_TRUE(windowManagerCaughtUp(id));
    EXPECT_EQ(desktopOf(probe, probe.root()), 1u) << "the user stays where they are";
    window.hide();
    ASSERT_EQ(run({"xdotool", "set_desktop", "0"}), 0);
}
