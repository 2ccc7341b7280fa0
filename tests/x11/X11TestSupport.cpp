#include "X11TestSupport.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace quillbern::test {

namespace {

std::vector<char*> argvOf(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    return argv;
}

template <class T>
struct Freed {
    T* p;
    ~Freed() { std::free(p); }
};

}  // namespace

bool spinUntil(const std::function<bool()>& done, int limitMs) {
    // The first answer that holds counts: asking again could see a later change.
    QDeadlineTimer deadline(limitMs);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

void spinFor(int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

bool windowManagerCaughtUp(xcb_window_t window) {
    const XProbe probe;
    const RectTL before = probe.geometry(window);
    const std::uint32_t origin[] = {std::uint32_t(before.x + 1), std::uint32_t(before.y)};
    xcb_configure_window(probe.c(), window, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, origin);
    xcb_flush(probe.c());
    return spinUntil([&] { return probe.geometry(window) != before; });
}

int run(const std::vector<std::string>& args) {
    pid_t pid = -1;
    std::vector<char*> argv = argvOf(args);
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    for (QDeadlineTimer deadline(10000); !deadline.hasExpired();) {
        if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        // Keep our own windows answering while the command talks to the X server.
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
}

Spawned::Spawned(std::vector<std::string> args) {
    std::vector<char*> argv = argvOf(args);
    if (posix_spawnp(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) pid_ = -1;
}

void Spawned::end() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

TestClient::TestClient(std::vector<std::string> args) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    args.insert(args.begin(), QUILLBERN_TEST_CLIENT);
    std::vector<char*> argv = argvOf(args);
    const int error = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    output_ = pipeFds[0];
    if (error != 0) {
        pid_ = -1;
        return;
    }
    readLines(kWaitLimitMs, [this](const std::string& line) {
        if (line.rfind("window ", 0) != 0) return false;
        window_ = xcb_window_t(std::stoul(line.substr(7), nullptr, 16));
        return true;
    });
}

TestClient::~TestClient() {
    // Killed: a test may have it block the signals Quit could send.
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (output_ >= 0) close(output_);
}

bool TestClient::waitForLine(const std::string& line, int limitMs) {
    for (const std::string& seen : lines_) {
        if (seen == line) return true;
    }
    return readLines(limitMs, [&line](const std::string& seen) { return seen == line; });
}

std::vector<xcb_window_t> TestClient::windowsPrinted(const std::string& label) const {
    const std::string prefix = label + " 0x";
    std::vector<xcb_window_t> windows;
    for (const std::string& line : lines_) {
        if (line.starts_with(prefix))
            windows.push_back(xcb_window_t(std::stoul(line.substr(prefix.size()), nullptr, 16)));
    }
    return windows;
}

bool TestClient::waitForEnd() {
    if (pid_ <= 0) return false;
    const bool ended = waitpid(pid_, nullptr, 0) == pid_;
    pid_ = -1;
    return ended;
}

bool TestClient::readLines(int limitMs, const std::function<bool(const std::string&)>& wanted) {
    QDeadlineTimer deadline(limitMs);
    while (!deadline.hasExpired()) {
        for (std::size_t end; (end = buffer_.find('\n')) != std::string::npos;) {
            const std::string line = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            lines_.push_back(line);
            if (wanted(line)) return true;
        }
        pollfd fd{output_, POLLIN, 0};
        if (poll(&fd, 1, 10) > 0) {
            char chunk[256];
            const ssize_t n = read(output_, chunk, sizeof chunk);
            if (n <= 0) return false;
            buffer_.append(chunk, std::size_t(n));
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return false;
}

XProbe::XProbe() : c_(xcb_connect(nullptr, nullptr)), root_(xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root) {}

XProbe::~XProbe() {
    xcb_disconnect(c_);
}

xcb_atom_t XProbe::atom(const std::string& name) const {
    const Freed<xcb_intern_atom_reply_t> reply{
        xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, std::uint16_t(name.size()), name.c_str()), nullptr)};
    return reply.p ? reply.p->atom : xcb_atom_t(XCB_ATOM_NONE);
}

std::vector<std::uint32_t> XProbe::cardinals(xcb_window_t window, const std::string& property) const {
    const Freed<xcb_get_property_reply_t> reply{xcb_get_property_reply(
        c_, xcb_get_property(c_, 0, window, atom(property), XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 16), nullptr)};
    if (!reply.p || reply.p->format != 32) return {};
    const auto* items = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.p));
    return {items, items + xcb_get_property_value_length(reply.p) / 4};
}

RectTL XProbe::geometry(xcb_window_t window) const {
    const Freed<xcb_get_geometry_reply_t> geometry{xcb_get_geometry_reply(c_, xcb_get_geometry(c_, window), nullptr)};
    const Freed<xcb_translate_coordinates_reply_t> origin{
        xcb_translate_coordinates_reply(c_, xcb_translate_coordinates(c_, window, root_, 0, 0), nullptr)};
    if (!geometry.p || !origin.p) return RectTL::null();
    return {double(origin.p->dst_x), double(origin.p->dst_y), double(geometry.p->width), double(geometry.p->height)};
}

xcb_window_t XProbe::topLevel(xcb_window_t window) const {
    for (int depth = 0; depth < 8; ++depth) {
        const Freed<xcb_query_tree_reply_t> tree{xcb_query_tree_reply(c_, xcb_query_tree(c_, window), nullptr)};
        if (!tree.p || tree.p->parent == root_ || tree.p->parent == XCB_WINDOW_NONE) return window;
        window = tree.p->parent;
    }
    return window;
}

std::vector<xcb_window_t> XProbe::stacking() const {
    const Freed<xcb_query_tree_reply_t> tree{xcb_query_tree_reply(c_, xcb_query_tree(c_, root_), nullptr)};
    if (!tree.p) return {};
    const xcb_window_t* children = xcb_query_tree_children(tree.p);
    return {children, children + xcb_query_tree_children_length(tree.p)};
}

std::ptrdiff_t XProbe::stackIndex(xcb_window_t window) const {
    const std::vector<xcb_window_t> order = stacking();
    return std::find(order.begin(), order.end(), topLevel(window)) - order.begin();
}

std::uint32_t XProbe::pixelAt(int x, int y) const {
    const std::vector<std::uint32_t> pixel = pixelsIn(x, y, 1, 1);
    return pixel.empty() ? 0xFFFFFFFF : pixel.front();
}

std::vector<std::uint32_t> XProbe::pixelsIn(int x, int y, int width, int height) const {
    const Freed<xcb_get_image_reply_t> image{
        xcb_get_image_reply(c_,
                            xcb_get_image(c_, XCB_IMAGE_FORMAT_Z_PIXMAP, root_, std::int16_t(x), std::int16_t(y),
                                          std::uint16_t(width), std::uint16_t(height), ~0u),
                            nullptr)};
    if (!image.p) return {};
    const std::uint8_t* bgrx = xcb_get_image_data(image.p);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (std::uint32_t& pixel : pixels) {
        pixel = std::uint32_t(bgrx[2]) << 16 | std::uint32_t(bgrx[1]) << 8 | bgrx[0];
        bgrx += 4;
    }
    return pixels;
}

bool XProbe::isViewable(xcb_window_t window) const {
    const Freed<xcb_get_window_attributes_reply_t> attributes{
        xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, window), nullptr)};
    return attributes.p && attributes.p->map_state == XCB_MAP_STATE_VIEWABLE;
}

bool XProbe::hasState(xcb_window_t window, const std::string& state) const {
    const std::vector<std::uint32_t> states = cardinals(window, "_NET_WM_STATE");
    return std::ranges::find(states, atom(state)) != states.end();
}

void XProbe::askFullScreen(xcb_window_t window, bool on) const {
    constexpr std::uint32_t kRemove = 0;
    constexpr std::uint32_t kAdd = 1;
    constexpr std::uint32_t kFromPager = 2;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom("_NET_WM_STATE");
    message.data.data32[0] = on ? kAdd : kRemove;
    message.data.data32[1] = atom("_NET_WM_STATE_FULLSCREEN");
    message.data.data32[3] = kFromPager;
    xcb_send_event(c_, 0, root_, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(c_);
}

}  // namespace quillbern::test
