// A small X client for the integration tests: one window with the class, title, process
// id, icon and close protocol of an ordinary application, optionally a strut, an
// override-redirect menu, an override-redirect window of another kind, or one inside a frame
// of its own, as some window managers keep their bars; --motion takes the pointer's motion
// over it, as a window manager's frame or an application that follows the pointer does. Prints
// "window 0x<id>" once mapped and "press <button>" for each click it gets; exits when the
// window manager asks it to close its first window.
// A QUILLBERN_TEST_OPEN client message to a window opens one more, titled "<title> 2";
// --windows N opens N - 1 more at the start, as an application with many windows.
// --pid names another process as the window's, as any client may. Its windows name this
// machine in WM_CLIENT_MACHINE, as Xlib's clients do; --forward CLASS[@MACHINE] opens one more
// window of that class, on a connection of its own, naming another machine (elsewhere.example,
// or MACHINE; none after a bare @), as ssh -X relays a remote client's (printing
// "forwarded 0x<id>"). --tcp connects over TCP, where the server cannot
// tell the client's process. --hand-over hands the connection, with the window made but not
// mapped (printed at once), to a child and ends; the child maps it when a QUILLBERN_TEST_MAP
// client message comes.
// --grab-key holds a key chord on the root window as another application's global shortcut
// would, printing "grabbed" or "grab refused".
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

xcb_atom_t atom(xcb_connection_t* c, const std::string& name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::uint16_t(name.size()), name.c_str()), nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}

void setProperty(xcb_connection_t* c, xcb_window_t w, const std::string& name, xcb_atom_t type, int format,
                 const void* data, std::size_t count) {
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom(c, name), type, std::uint8_t(format), std::uint32_t(count),
                        data);
}

std::vector<std::uint32_t> numbers(const char* text) {
    std::vector<std::uint32_t> values;
    for (const char* p = text; *p;) {
        char* end = nullptr;
        values.push_back(std::uint32_t(std::strtoul(p, &end, 10)));
        p = *end ? end + 1 : end;
    }
    return values;
}

int usage() {
    std::fprintf(
        stderr,
        "usage: quillbern_test_client [--class NAME] [--title TEXT] [--geometry WxH+X+Y]\n"
        "         [--strut L,R,T,B[,LS,LE,RS,RE,TS,TE,BS,BE]] [--menu] [--unmanaged] [--framed] [--color RRGGBB]\n"
        "         [--no-pid | --pid NUMBER] [--no-input] [--legacy-title] [--min-size WxH] [--motion]\n"
        "         [--grab-key KEYCODE,MODIFIERS]  (X keycode and modifier mask)\n"
        "         [--forward CLASS[@MACHINE]]... [--tcp] [--hand-over] [--windows N]\n");
    return 2;
}

struct Options {
    std::string className = "quillbern-test", title = "Test window";
    int x = 100, y = 100, width = 300, height = 200;
    std::vector<std::uint32_t> strut;
    bool menu = false;
    bool unmanaged = false;  // override-redirect: the window manager never sees it
    bool framed = false;     // unmanaged, inside a frame of its own as a window manager's bar is
    std::uint32_t color = 0xFFFFFF;
    bool pid = true;
    std::uint32_t namedPid = std::uint32_t(getpid());
    bool input = true;
    bool legacyTitle = false;
    bool motion = false;
    int minWidth = 0, minHeight = 0;
    std::vector<std::uint32_t> grabKey;
    std::vector<std::string> forwarded;
    bool tcp = false;
    bool handOver = false;
    int windows = 1;
    std::string machine = [] {
        char name[256] = {};
        gethostname(name, sizeof name - 1);
        return std::string(name);
    }();
};

xcb_window_t openWindow(xcb_connection_t* c, const Options& o, const std::string& title, bool map = true) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    // Framed: a frame on the root and a container inside it, as icewm keeps its taskbar.
    std::vector<xcb_window_t> frames;
    xcb_window_t parent = screen->root;
    int x = o.x, y = o.y;
    for (int level = 0; o.framed && level < 2; ++level) {
        const xcb_window_t frame = xcb_generate_id(c);
        const std::uint32_t frameValues[] = {o.color, 1u};
        xcb_create_window(c, XCB_COPY_FROM_PARENT, frame, parent, std::int16_t(x), std::int16_t(y),
                          std::uint16_t(o.width), std::uint16_t(o.height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, frameValues);
        frames.push_back(frame);
        parent = frame;
        x = y = 0;
    }
    const xcb_window_t w = xcb_generate_id(c);
    const std::uint32_t values[] = {o.color, o.menu || o.unmanaged ? 1u : 0u,
                                    XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_BUTTON_PRESS |
                                        (o.motion ? std::uint32_t(XCB_EVENT_MASK_POINTER_MOTION) : 0u)};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, w, parent, std::int16_t(x), std::int16_t(y), std::uint16_t(o.width),
                      std::uint16_t(o.height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);

    const std::string wmClass = o.className + '\0' + o.className + '\0';
    setProperty(c, w, "WM_CLASS", XCB_ATOM_STRING, 8, wmClass.data(), wmClass.size());
    setProperty(c, w, "WM_NAME", XCB_ATOM_STRING, 8, title.data(), title.size());
    if (!o.machine.empty())
        setProperty(c, w, "WM_CLIENT_MACHINE", XCB_ATOM_STRING, 8, o.machine.data(), o.machine.size());
    if (!o.legacyTitle) setProperty(c, w, "_NET_WM_NAME", atom(c, "UTF8_STRING"), 8, title.data(), title.size());
    if (o.pid) setProperty(c, w, "_NET_WM_PID", XCB_ATOM_CARDINAL, 32, &o.namedPid, 1);
    std::vector<std::uint32_t> icon = {16, 16};
    icon.resize(2 + 16 * 16, 0xFF3080C0u);
    setProperty(c, w, "_NET_WM_ICON", XCB_ATOM_CARDINAL, 32, icon.data(), icon.size());
    const xcb_atom_t deleteWindow = atom(c, "WM_DELETE_WINDOW");
    setProperty(c, w, "WM_PROTOCOLS", XCB_ATOM_ATOM, 32, &deleteWindow, 1);
    // Position asked by the program, so the window manager keeps it.
    std::uint32_t hints[18] = {};
    hints[0] = 1 | 2 | 4 | 8;  // USPosition, USSize, PPosition, PSize
    hints[1] = std::uint32_t(o.x);
    hints[2] = std::uint32_t(o.y);
    hints[3] = std::uint32_t(o.width);
    hints[4] = std::uint32_t(o.height);
    if (o.minWidth > 0) {
        hints[0] |= 16;  // PMinSize
        hints[5] = std::uint32_t(o.minWidth);
        hints[6] = std::uint32_t(o.minHeight);
    }
    setProperty(c, w, "WM_NORMAL_HINTS", atom(c, "WM_SIZE_HINTS"), 32, hints, 18);
    const std::uint32_t wmHints[9] = {1, o.input ? 1u : 0u};  // InputHint
    setProperty(c, w, "WM_HINTS", XCB_ATOM_WM_HINTS, 32, wmHints, 9);
    if (!o.strut.empty()) {
        // Four values are the older form, which names no run.
        setProperty(c, w, o.strut.size() == 4 ? "_NET_WM_STRUT" : "_NET_WM_STRUT_PARTIAL", XCB_ATOM_CARDINAL, 32,
                    o.strut.data(), o.strut.size());
        const xcb_atom_t dock = atom(c, "_NET_WM_WINDOW_TYPE_DOCK");
        setProperty(c, w, "_NET_WM_WINDOW_TYPE", XCB_ATOM_ATOM, 32, &dock, 1);
    }
    if (o.menu) {
        const xcb_atom_t popup = atom(c, "_NET_WM_WINDOW_TYPE_POPUP_MENU");
        setProperty(c, w, "_NET_WM_WINDOW_TYPE", XCB_ATOM_ATOM, 32, &popup, 1);
    }
    if (map) xcb_map_window(c, w);
    for (auto frame = frames.rbegin(); frame != frames.rend(); ++frame)
        xcb_map_window(c, *frame);
    xcb_flush(c);
    return w;
}

// $DISPLAY's server, over TCP on this machine.
std::string tcpDisplay() {
    const char* display = std::getenv("DISPLAY");
    const std::string name = display ? display : ":0";
    return "localhost" + name.substr(name.find(':'));
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--class" && hasValue) {
            o.className = argv[++i];
        } else if (arg == "--title" && hasValue) {
            o.title = argv[++i];
        } else if (arg == "--geometry" && hasValue) {
            if (std::sscanf(argv[++i], "%dx%d+%d+%d", &o.width, &o.height, &o.x, &o.y) != 4) return usage();
        } else if (arg == "--strut" && hasValue) {
            o.strut = numbers(argv[++i]);
            if (o.strut.size() != 12 && o.strut.size() != 4) return usage();
        } else if (arg == "--menu") {
            o.menu = true;
        } else if (arg == "--unmanaged") {
            o.unmanaged = true;
        } else if (arg == "--framed") {
            o.framed = true;
        } else if (arg == "--color" && hasValue) {
            o.color = std::uint32_t(std::strtoul(argv[++i], nullptr, 16));
        } else if (arg == "--no-pid") {
            o.pid = false;
        } else if (arg == "--pid" && hasValue) {
            o.namedPid = std::uint32_t(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--no-input") {
            o.input = false;
        } else if (arg == "--legacy-title") {
            o.legacyTitle = true;
        } else if (arg == "--motion") {
            o.motion = true;
        } else if (arg == "--grab-key" && hasValue) {
            o.grabKey = numbers(argv[++i]);
            if (o.grabKey.size() != 2) return usage();
        } else if (arg == "--forward" && hasValue) {
            o.forwarded.push_back(argv[++i]);
        } else if (arg == "--tcp") {
            o.tcp = true;
        } else if (arg == "--hand-over") {
            o.handOver = true;
        } else if (arg == "--windows" && hasValue) {
            o.windows = std::atoi(argv[++i]);
        } else if (arg == "--min-size" && hasValue) {
            if (std::sscanf(argv[++i], "%dx%d", &o.minWidth, &o.minHeight) != 2) return usage();
        } else {
            return usage();
        }
    }

    xcb_connection_t* c = xcb_connect(o.tcp ? tcpDisplay().c_str() : nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "quillbern_test_client: no X server\n");
        return 1;
    }
    if (!o.grabKey.empty()) {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        xcb_generic_error_t* error = xcb_request_check(
            c, xcb_grab_key_checked(c, 0, root, std::uint16_t(o.grabKey[1]), xcb_keycode_t(o.grabKey[0]),
                                    XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        std::printf(error ? "grab refused\n" : "grabbed\n");
        std::fflush(stdout);
        std::free(error);
    }
    // Each kept open, as the relay keeps every forwarded client's.
    for (const std::string& forwarded : o.forwarded) {
        xcb_connection_t* forwarding = xcb_connect(nullptr, nullptr);
        Options remote = o;
        const std::size_t at = forwarded.find('@');
        remote.className = forwarded.substr(0, at);
        remote.machine = at == std::string::npos ? "elsewhere.example" : forwarded.substr(at + 1);
        std::printf("forwarded 0x%x\n", openWindow(forwarding, remote, remote.className));
    }
    const xcb_window_t w = openWindow(c, o, o.title, !o.handOver);
    for (int more = 1; more < o.windows; ++more)
        openWindow(c, o, o.title + " " + std::to_string(more + 1));
    if (o.handOver) {
        std::printf("window 0x%x\n", w);
        std::fflush(stdout);
        if (fork() != 0) return 0;
    }
    const xcb_atom_t deleteWindow = atom(c, "WM_DELETE_WINDOW");
    const xcb_atom_t openAnother = atom(c, "QUILLBERN_TEST_OPEN");
    const xcb_atom_t mapNow = atom(c, "QUILLBERN_TEST_MAP");
    const xcb_atom_t protocols = atom(c, "WM_PROTOCOLS");
    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        const std::uint8_t type = event->response_type & 0x7F;
        if (type == XCB_MAP_NOTIFY) {
            if (reinterpret_cast<xcb_map_notify_event_t*>(event)->window == w) std::printf("window 0x%x\n", w);
        } else if (type == XCB_BUTTON_PRESS) {
            std::printf("press %u\n", unsigned(reinterpret_cast<xcb_button_press_event_t*>(event)->detail));
        } else if (type == XCB_CLIENT_MESSAGE) {
            const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
            if (message->type == openAnother) {
                openWindow(c, o, o.title + " 2");
            } else if (message->type == mapNow) {
                xcb_map_window(c, w);
                xcb_flush(c);
            } else if (message->type == protocols && message->data.data32[0] == deleteWindow) {
                if (message->window == w) {
                    std::free(event);
                    break;
                }
                xcb_destroy_window(c, message->window);
                xcb_flush(c);
            }
        }
        std::fflush(stdout);
        std::free(event);
    }
    xcb_disconnect(c);
    return 0;
}
