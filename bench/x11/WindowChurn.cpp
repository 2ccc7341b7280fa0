// Drives a desktop busy with windows for bench/window_churn.sh: keeps a number of client
// windows open, each its own process (the test client), and for a while moves five of
// them every 20 ms and closes one and opens a new one every 100 ms. Meanwhile it times a
// round trip to the X server every 2 ms on a connection of its own: any client that waits
// for the server's answer during the churn, as a toolkit does before it paints, waits as long.
// Given HOLD_MS, another connection also holds the server that long every 300 ms, as a
// server busy now and then with another client's work does.
//
//   quillbern_window_churn CLIENT [WINDOWS] [SECONDS] [HOLD_MS]
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>
#include <xcb/xcb.h>

extern char** environ;

namespace {

struct Client {
    pid_t pid = -1;
    xcb_window_t window = XCB_WINDOW_NONE;
};

// Starts one client and waits for its "window 0x..." line.
Client open(const std::string& program, int serial, std::mt19937& random) {
    int out[2];
    if (pipe(out) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const std::string name = "churn-" + std::to_string(serial);
    const std::string geometry = "240x160+" + std::to_string(random() % 2200) + "+" + std::to_string(random() % 850);
    std::vector<std::string> args{program, "--class", name, "--title", name, "--geometry", geometry};
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    Client client;
    const int failed = posix_spawn(&client.pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (failed) {
        close(out[0]);
        return {};
    }
    FILE* lines = fdopen(out[0], "r");
    char line[64];
    unsigned window = 0;
    while (lines && std::fgets(line, sizeof line, lines)) {
        if (std::sscanf(line, "window 0x%x", &window) == 1) break;
    }
    if (lines) std::fclose(lines);
    client.window = window;
    return client;
}

// The longest wait for the X server's answer to a round trip, in milliseconds, timed every
// 2 ms until `stop` is set; none when the connection failed.
std::optional<double> longestRoundTrip(const std::atomic<bool>& stop) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    double longest = 0;
    while (!stop && !xcb_connection_has_error(c)) {
        const auto asked = std::chrono::steady_clock::now();
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
        const std::chrono::duration<double, std::milli> waited = std::chrono::steady_clock::now() - asked;
        longest = std::max(longest, waited.count());
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    const bool failed = xcb_connection_has_error(c);
    xcb_disconnect(c);
    if (failed) return std::nullopt;
    return longest;
}

// Holds the server for `holdMs` every 300 ms until `stop` is set.
void holdServer(const std::atomic<bool>& stop, int holdMs) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    while (!stop && !xcb_connection_has_error(c)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300 - holdMs));
        xcb_grab_server(c);
        // Held from the answer on.
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
        std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
        xcb_ungrab_server(c);
        xcb_flush(c);
    }
    xcb_disconnect(c);
}

void end(Client& client) {
    if (client.pid <= 0) return;
    kill(client.pid, SIGTERM);
    waitpid(client.pid, nullptr, 0);
    client.pid = -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: quillbern_window_churn CLIENT [WINDOWS] [SECONDS] [HOLD_MS]\n");
        return 2;
    }
    const std::string program = argv[1];
    const int count = argc > 2 ? std::atoi(argv[2]) : 50;
    const double seconds = argc > 3 ? std::atof(argv[3]) : 10;
    const int holdMs = argc > 4 ? std::clamp(std::atoi(argv[4]), 0, 250) : 0;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "quillbern_window_churn: no X server\n");
        return 1;
    }
    std::mt19937 random(7);
    int serial = 0;
    std::vector<Client> clients;
    for (int i = 0; i < count; ++i)
        clients.push_back(open(program, serial++, random));

    std::atomic<bool> churned = false;
    std::optional<double> serverLongest;
    std::thread server([&] { serverLongest = longestRoundTrip(churned); });
    std::thread holder([&] {
        if (holdMs > 0) holdServer(churned, holdMs);
    });
    using Clock = std::chrono::steady_clock;
    const auto until = Clock::now() + std::chrono::duration<double>(seconds);
    long moves = 0, replaced = 0;
    for (int step = 0; Clock::now() < until; ++step) {
        for (int i = 0; i < 5; ++i) {
            const Client& client = clients[random() % clients.size()];
            const std::uint32_t at[2] = {std::uint32_t(random() % 2200), std::uint32_t(random() % 850)};
            xcb_configure_window(c, client.window, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, at);
            ++moves;
        }
        xcb_flush(c);
        if (step % 5 == 4) {
            Client& gone = clients[random() % clients.size()];
            end(gone);
            gone = open(program, serial++, random);
            ++replaced;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    churned = true;
    server.join();
    holder.join();
    for (Client& client : clients)
        end(client);
    xcb_disconnect(c);
    std::printf("%d windows, %ld moves, %ld closed and opened anew; ", count, moves, replaced);
    if (holdMs > 0) std::printf("the X server held %d ms every 300 ms; ", holdMs);
    if (serverLongest)
        std::printf("the X server's longest answer to a round trip: %.1f ms\n", *serverLongest);
    else
        std::printf("the X server's round trips could not be timed: its second connection failed\n");
    return 0;
}
