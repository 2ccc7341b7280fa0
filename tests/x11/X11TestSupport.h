#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>
#include <xcb/xcb.h>

#include "core/foundation/Geometry.h"

namespace quillbern::test {

// How long any wait of these tests may take. Generous, because a loaded two-core machine
// runs several desktops and builds at once; a passing wait returns as soon as its
// condition holds, so only a failing test waits this long.
constexpr int kWaitLimitMs = 60000;

// Runs the Qt event loop until `done` holds or `limitMs` passes; whether it held.
bool spinUntil(const std::function<bool()>& done, int limitMs = kWaitLimitMs);
// Runs the Qt event loop for a while, for real time to pass (a cache to expire).
void spinFor(int ms);
// An event barrier through the window manager: asks it to move the window a pixel and
// waits until it has. It handles requests in order, so it has then handled every request
// made before, and what it did in answer is on the server.
bool windowManagerCaughtUp(xcb_window_t window);
// Runs a command (xdotool, xrandr) to its end, at most 10 s; its exit status.
int run(const std::vector<std::string>& argv);

// A program of the test's own (xterm, a compositing manager), ended with the object.
class Spawned {
public:
    explicit Spawned(std::vector<std::string> args);
    ~Spawned() { end(); }
    Spawned(const Spawned&) = delete;
    Spawned& operator=(const Spawned&) = delete;

    pid_t pid() const { return pid_; }
    void end();

private:
    pid_t pid_ = -1;
};

// One quillbern_test_client window, closed when the object goes.
class TestClient {
public:
    explicit TestClient(std::vector<std::string> args);
    ~TestClient();
    TestClient(const TestClient&) = delete;
    TestClient& operator=(const TestClient&) = delete;

    bool started() const { return window_ != 0; }
    xcb_window_t window() const { return window_; }
    pid_t pid() const { return pid_; }
    // Waits until the client printed a line equal to `line`.
    bool waitForLine(const std::string& line, int limitMs = kWaitLimitMs);
    // The windows of the lines "<label> 0x<id>" it printed before its first window showed.
    std::vector<xcb_window_t> windowsPrinted(const std::string& label) const;
    // Waits for its process to end and reaps it: its id is free for another from then on.
    bool waitForEnd();

private:
    bool readLines(int limitMs, const std::function<bool(const std::string&)>& wanted);

    pid_t pid_ = -1;
    int output_ = -1;
    std::string buffer_;
    std::vector<std::string> lines_;
    xcb_window_t window_ = 0;
};

// A probe connection of the test itself, to read back what the X server has.
class XProbe {
public:
    XProbe();
    ~XProbe();
    xcb_connection_t* c() const { return c_; }
    xcb_window_t root() const { return root_; }
    xcb_atom_t atom(const std::string& name) const;
    std::vector<std::uint32_t> cardinals(xcb_window_t window, const std::string& property) const;
    // The window's rectangle in root coordinates.
    RectTL geometry(xcb_window_t window) const;
    // The child of the root that holds the window (its frame, if managed).
    xcb_window_t topLevel(xcb_window_t window) const;
    // The children of the root, bottom to top.
    std::vector<xcb_window_t> stacking() const;
    // Where the window's frame (or the window, unmanaged) stands among them.
    std::ptrdiff_t stackIndex(xcb_window_t window) const;
    // The colour shown on screen at a point of the root, as 0xRRGGBB.
    std::uint32_t pixelAt(int x, int y) const;
    // Those of a rectangle of the root, row after row; none where it cannot be read.
    std::vector<std::uint32_t> pixelsIn(int x, int y, int width, int height) const;
    bool isViewable(xcb_window_t window) const;
    // Whether the window's _NET_WM_STATE holds the named state.
    bool hasState(xcb_window_t window, const std::string& state) const;
    // Asks the window manager, as a pager would, to put the window in or out of full screen.
    void askFullScreen(xcb_window_t window, bool on) const;

private:
    xcb_connection_t* c_;
    xcb_window_t root_;
};

}  // namespace quillbern::test
