// Another client holding the X server (XGrabServer) for the tests and benchmarks, as a busy
// client may: while it holds, no other client's requests are served, yet input still reaches
// them. With --click it clicks the first button through XTest where the pointer stands once
// it holds, and with --leave it then moves the pointer to X,Y at once, as a hand that leaves
// right after a click. Prints "held" once it holds the server, "clicked" once the click is made, and
// "released" once it let go of the server after the given seconds.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

namespace {

struct Point {
    int x = 0, y = 0;
};

std::optional<Point> point(const char* text) {
    Point p;
    if (std::sscanf(text, "%d,%d", &p.x, &p.y) != 2) return std::nullopt;
    return p;
}

int usage() {
    std::fprintf(stderr, "usage: quillbern_server_holder --hold SECONDS [--click] [--leave X,Y]\n");
    return 2;
}

// Served before the server goes on: the grabbing client's requests are the only ones it reads.
void sync(xcb_connection_t* c) {
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

void fake(xcb_connection_t* c, std::uint8_t type, std::uint8_t detail, const Point& at = {}) {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_test_fake_input(c, type, detail, XCB_CURRENT_TIME, root, std::int16_t(at.x), std::int16_t(at.y), 0);
}

void moveTo(xcb_connection_t* c, const Point& at) {
    fake(c, XCB_MOTION_NOTIFY, 0, at);
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = -1;
    bool click = false;
    std::optional<Point> leave;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--hold" && hasValue) {
            seconds = std::atof(argv[++i]);
        } else if (option == "--click") {
            click = true;
        } else if (option == "--leave" && hasValue) {
            if (!(leave = point(argv[++i]))) return usage();
        } else {
            return usage();
        }
    }
    if (seconds < 0) return usage();

    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "quillbern_server_holder: cannot reach the X display\n");
        return 1;
    }
    xcb_grab_server(c);
    sync(c);
    std::printf("held\n");
    std::fflush(stdout);
    if (click) {
        fake(c, XCB_BUTTON_PRESS, 1);
        fake(c, XCB_BUTTON_RELEASE, 1);
        if (leave) moveTo(c, *leave);
        sync(c);
        std::printf("clicked\n");
        std::fflush(stdout);
    }
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    xcb_ungrab_server(c);
    sync(c);
    std::printf("released\n");
    std::fflush(stdout);
    xcb_disconnect(c);
    return 0;
}
