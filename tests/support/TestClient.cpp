// A small X client for the integration tests: one window with the class, title, process
// id, icon and close protocol of an ordinary application, optionally a strut or an
// override-redirect menu. Prints "window 0x<id>" once mapped and "press <button>" for
// each click it gets; exits when the window manager asks it to close.
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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
    std::fprintf(stderr,
                 "usage: quillbern_test_client [--class NAME] [--title TEXT] [--geometry WxH+X+Y]\n"
                 "         [--strut L,R,T,B,LS,LE,RS,RE,TS,TE,BS,BE] [--menu]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string className = "quillbern-test", title = "Test window";
    int x = 100, y = 100, width = 300, height = 200;
    std::vector<std::uint32_t> strut;
    bool menu = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--class" && hasValue) {
            className = argv[++i];
        } else if (arg == "--title" && hasValue) {
            title = argv[++i];
        } else if (arg == "--geometry" && hasValue) {
            if (std::sscanf(argv[++i], "%dx%d+%d+%d", &width, &height, &x, &y) != 4) return usage();
        } else if (arg == "--strut" && hasValue) {
            strut = numbers(argv[++i]);
            if (strut.size() != 12) return usage();
        } else if (arg == "--menu") {
            menu = true;
        } else {
            return usage();
        }
    }

    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "quillbern_test_client: no X server\n");
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t w = xcb_generate_id(c);
    const std::uint32_t values[] = {screen->white_pixel, menu ? 1u : 0u,
                                    XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_BUTTON_PRESS};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, std::int16_t(x), std::int16_t(y), std::uint16_t(width),
                      std::uint16_t(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);

    const std::string wmClass = className + '\0' + className + '\0';
    setProperty(c, w, "WM_CLASS", XCB_ATOM_STRING, 8, wmClass.data(), wmClass.size());
    setProperty(c, w, "WM_NAME", XCB_ATOM_STRING, 8, title.data(), title.size());
    setProperty(c, w, "_NET_WM_NAME", atom(c, "UTF8_STRING"), 8, title.data(), title.size());
    const std::uint32_t pid = std::uint32_t(getpid());
    setProperty(c, w, "_NET_WM_PID", XCB_ATOM_CARDINAL, 32, &pid, 1);
    std::vector<std::uint32_t> icon = {16, 16};
    icon.resize(2 + 16 * 16, 0xFF3080C0u);
    setProperty(c, w, "_NET_WM_ICON", XCB_ATOM_CARDINAL, 32, icon.data(), icon.size());
    const xcb_atom_t deleteWindow = atom(c, "WM_DELETE_WINDOW");
    setProperty(c, w, "WM_PROTOCOLS", XCB_ATOM_ATOM, 32, &deleteWindow, 1);
    // Position asked by the program, so the window manager keeps it.
    std::uint32_t hints[18] = {};
    hints[0] = 1 | 2 | 4 | 8;  // USPosition, USSize, PPosition, PSize
    hints[1] = std::uint32_t(x);
    hints[2] = std::uint32_t(y);
    hints[3] = std::uint32_t(width);
    hints[4] = std::uint32_t(height);
    setProperty(c, w, "WM_NORMAL_HINTS", atom(c, "WM_SIZE_HINTS"), 32, hints, 18);
    if (!strut.empty()) {
        setProperty(c, w, "_NET_WM_STRUT_PARTIAL", XCB_ATOM_CARDINAL, 32, strut.data(), strut.size());
        const xcb_atom_t dock = atom(c, "_NET_WM_WINDOW_TYPE_DOCK");
        setProperty(c, w, "_NET_WM_WINDOW_TYPE", XCB_ATOM_ATOM, 32, &dock, 1);
    }
    if (menu) {
        const xcb_atom_t popup = atom(c, "_NET_WM_WINDOW_TYPE_POPUP_MENU");
        setProperty(c, w, "_NET_WM_WINDOW_TYPE", XCB_ATOM_ATOM, 32, &popup, 1);
    }
    xcb_map_window(c, w);
    xcb_flush(c);

    const xcb_atom_t protocols = atom(c, "WM_PROTOCOLS");
    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        const std::uint8_t type = event->response_type & 0x7F;
        if (type == XCB_MAP_NOTIFY) {
            std::printf("window 0x%x\n", w);
        } else if (type == XCB_BUTTON_PRESS) {
            std::printf("press %u\n", unsigned(reinterpret_cast<xcb_button_press_event_t*>(event)->detail));
        } else if (type == XCB_CLIENT_MESSAGE) {
            const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
            if (message->type == protocols && message->data.data32[0] == deleteWindow) {
                std::free(event);
                break;
            }
        }
        std::fflush(stdout);
        std::free(event);
    }
    xcb_disconnect(c);
    return 0;
}
