// X11 integration tests: each run starts its own headless two-monitor desktop and runs
// the real backends against it. Without Xvfb and its companions the run fails.
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

extern char** environ;

namespace {

struct Desktop {
    pid_t pid = -1;
    int input = -1;  // closing it ends the desktop
    std::string display;
};

bool startDesktop(Desktop& desktop) {
    int toScript[2], fromScript[2];
    if (pipe2(toScript, O_CLOEXEC) != 0 || pipe2(fromScript, O_CLOEXEC) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toScript[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromScript[1], STDOUT_FILENO);
    // Over TCP too: the running applications' tests connect so as a remote client would. Another
    // window manager than the desktop's own openbox, where the run names one.
    char bash[] = "bash", script[] = QUILLBERN_DESKTOP_SCRIPT, tcp[] = "--tcp", wmOption[] = "--wm";
    char* wm = std::getenv("QUILLBERN_TEST_WINDOW_MANAGER");
    char* argv[] = {bash, script, tcp, wm ? wmOption : nullptr, wm, nullptr};
    const int error = posix_spawnp(&desktop.pid, "bash", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(toScript[0]);
    close(fromScript[1]);
    desktop.input = toScript[1];
    if (error != 0) return false;
    // The first line is the display, once Xvfb, its monitors and openbox are ready.
    pollfd fd{fromScript[0], POLLIN, 0};
    char c;
    while (poll(&fd, 1, 30000) > 0 && read(fromScript[0], &c, 1) == 1 && c != '\n')
        desktop.display += c;
    close(fromScript[0]);
    return !desktop.display.empty();
}

void stopDesktop(Desktop& desktop) {
    if (desktop.input >= 0) close(desktop.input);
    if (desktop.pid > 0) waitpid(desktop.pid, nullptr, 0);
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    if (!GTEST_FLAG_GET(internal_run_death_test).empty()) {
        // A death test's child: it runs in its parent's desktop and data folders.
        QApplication application(argc, argv);
        return RUN_ALL_TESTS();
    }

    Desktop desktop;
    if (!startDesktop(desktop)) {
        std::fprintf(stderr,
                     "FAIL: the headless desktop did not start (Xvfb, xrandr, openbox, xdotool needed: "
                     "run scripts/setup)\n");
        stopDesktop(desktop);
        return 1;
    }
    setenv("DISPLAY", desktop.display.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    // Data directories of the tests' own, before GLib reads them once for the whole run:
    // desktop entries that tests write, and none of the machine's settings schemas.
    char pattern[] = "/tmp/quillbern-x11-data-XXXXXX";
    const std::filesystem::path data = mkdtemp(pattern);
    setenv("XDG_DATA_DIRS", (data / "system").c_str(), 1);
    setenv("XDG_DATA_HOME", (data / "home").c_str(), 1);
    int status;
    {
        QApplication application(argc, argv);
        status = RUN_ALL_TESTS();
    }
    std::filesystem::remove_all(data);
    stopDesktop(desktop);
    return status;
}
