#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <sys/wait.h>
#include <thread>

#include "Backends.h"
#include "X11TestSupport.h"
#include "core/platform/SystemThreads.h"
#include "core/windows/WindowEngine.h"
#include "linux/freedesktop/LinuxAppCatalog.h"
#include "linux/freedesktop/LinuxLauncher.h"
#include "linux/process/ChildProcess.h"
#include "linux/x11/X11ClientTable.h"
#include "linux/x11/X11HiddenApps.h"
#include "linux/x11/X11Permissions.h"
#include "linux/x11/X11RunningApps.h"
#include "linux/x11/X11SessionEvents.h"
#include "linux/x11/X11WindowAccess.h"
#include "sim/SimAlerts.h"
#include "sim/SimSessionEvents.h"

using namespace quillbern;
using namespace quillbern::test;
namespace fs = std::filesystem;

namespace {

// Records what the running applications announce.
struct Heard {
    explicit Heard(quillbern::RunningApps& apps) {
        subscriptions.push_back(apps.onLaunch([this](const RunningApp& app) { launched.push_back(app); }));
        subscriptions.push_back(apps.onTerminate([this](const RunningApp& app) { terminated.push_back(app.pid); }));
        subscriptions.push_back(apps.onActivate([this](const RunningApp& app) { activated.push_back(app.pid); }));
        subscriptions.push_back(apps.onAppsChanged([this] { ++changes; }));
    }

    int launchesOf(Pid pid) const { return int(std::ranges::count(launched, pid, &RunningApp::pid)); }
    bool terminatedOnce(Pid pid) const { return std::ranges::count(terminated, pid) == 1; }

    std::vector<RunningApp> launched;
    std::vector<Pid> terminated;
    std::vector<Pid> activated;
    int changes = 0;
    std::vector<Subscription> subscriptions;
};

void writeEntry(const fs::path& path, const std::string& body) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "[Desktop Entry]\nType=Application\n" << body;
}

// Sends the test client's window one of its requests, a client message of that type.
void askTestClient(const XProbe& probe, xcb_window_t window, const std::string& request) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = probe.atom(request);
    xcb_send_event(probe.c(), 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
    xcb_flush(probe.c());
}

// The test client opens one more window when asked.
void openAnotherWindow(const XProbe& probe, xcb_window_t window) {
    askTestClient(probe, window, "QUILLBERN_TEST_OPEN");
}

// Whether a child of the test has ended; it stays a zombie until the test reaps it.
bool hasEnded(pid_t child) {
    siginfo_t info{};
    return waitid(P_PID, id_t(child), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == child;
}

// A bystander of the test's own that holds SIGTERM back: one sent to it stays pending, so the
// test sees whether any was, whenever it looks. Killed with the object.
class Bystander {
public:
    // With SIGTERM held back meanwhile, `start` makes the process, which inherits that.
    template <class Start>
    static auto holdingTermination(Start start) {
        sigset_t term, before;
        sigemptyset(&term);
        sigaddset(&term, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &term, &before);
        auto started = start();
        pthread_sigmask(SIG_SETMASK, &before, nullptr);
        return started;
    }

    Bystander() {
        pid_ = holdingTermination([] {
            pid_t pid = -1;
            char sleep[] = "sleep", sixty[] = "60";
            char* argv[] = {sleep, sixty, nullptr};
            return posix_spawnp(&pid, "sleep", nullptr, nullptr, argv, environ) == 0 ? pid : -1;
        });
    }
    ~Bystander() {
        if (pid_ <= 0) return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    Bystander(const Bystander&) = delete;
    Bystander& operator=(const Bystander&) = delete;

    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
};

// Whether a child of the test that holds SIGTERM back was sent one: it waits in its status.
bool termWaitsFor(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (!line.starts_with("ShdPnd:") && !line.starts_with("SigPnd:")) continue;
        if (std::stoull(line.substr(line.find_first_not_of(" \t", 7)), nullptr, 16) & (1ull << (SIGTERM - 1)))
            return true;
    }
    return false;
}

std::string hostName() {
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return name;
}

// Whether the window has left the client list; waited for without running the test's loop,
// so the running applications still show what they showed before it went.
bool unlisted(const XProbe& probe, xcb_window_t window) {
    const auto listed = [&] {
        return std::ranges::count(probe.cardinals(probe.root(), "_NET_CLIENT_LIST_STACKING"), window) > 0;
    };
    for (QDeadlineTimer limit(kWaitLimitMs); listed() && !limit.hasExpired();)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return !listed();
}

// A process of the test's that took `id`, chosen through ns_last_pid; none where the id cannot
// be chosen here (it needs root), with the reason in `why`.
std::unique_ptr<Bystander> takeId(Pid id, std::string& why) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        // Other processes of the machine may come first.
        const int last = open("/proc/sys/kernel/ns_last_pid", O_WRONLY | O_CLOEXEC);
        const std::string before = std::to_string(id - 1);
        const bool chosen = last >= 0 && write(last, before.data(), before.size()) == ssize_t(before.size());
        why = strerror(errno);
        if (last >= 0) close(last);
        if (!chosen) return nullptr;
        auto bystander = std::make_unique<Bystander>();
        if (bystander->pid() == id) return bystander;
    }
    why = "other processes took it first";
    return nullptr;
}

std::optional<RunningApp> appOfClass(const quillbern::RunningApps& apps, const std::string& windowClass) {
    for (const RunningApp& app : apps.runningApps()) {
        if (app.windowClass == windowClass) return app;
    }
    return std::nullopt;
}

std::uint32_t activeWindow(const XProbe& probe) {
    const auto active = probe.cardinals(probe.root(), "_NET_ACTIVE_WINDOW");
    return active.empty() ? 0 : active.front();
}

// Desktop entries of the test's own, in the data directories the test program gives GLib.
class X11RunningAppsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        writeEntry(probeEntry(), "Name=Probe App\nExec=/bin/false\nStartupWMClass=QuillbernProbe\n");
        writeEntry(terminalEntry(), "Name=Example Terminal\nExec=xterm\n");
        writeEntry(sleeperEntry(), "Name=Sleeper\nExec=/bin/sleep 30\n");
        // Its window's class is the probe's, yet it is what the launch started. Through env, so
        // that its program names no test client.
        writeEntry(launchedEntry(), "Name=Launched Probe\nExec=env " + std::string(QUILLBERN_TEST_CLIENT) +
                                        " --class QuillbernProbe --title Launched\n");
        writeEntry(slowEntry(), "Name=Slow Starter\nExec=sh -c \"sleep 0.3; exec " +
                                    std::string(QUILLBERN_TEST_CLIENT) + " --title Slow\"\n");
    }
    static void TearDownTestSuite() { fs::remove_all(applications()); }

    static fs::path applications() { return fs::path(std::getenv("XDG_DATA_DIRS")) / "applications"; }
    static fs::path probeEntry() { return applications() / "org.example.Probe.desktop"; }
    static fs::path terminalEntry() { return applications() / "org.example.Terminal.desktop"; }
    static fs::path sleeperEntry() { return applications() / "org.example.Sleeper.desktop"; }
    static fs::path launchedEntry() { return applications() / "org.example.Launched.desktop"; }
    static fs::path slowEntry() { return applications() / "org.example.Slow.desktop"; }

    // Whether every task asked of the running applications' worker so far has run: a hiding of
    // the witness's windows asked now has reached the window manager.
    bool workerCaughtUp(const TestClient& witness) { return workerCaughtUp(apps, witness); }
    bool workerCaughtUp(X11RunningApps& running, const TestClient& witness) {
        constexpr std::uint32_t kIconic = 3;
        if (!spinUntil([&] { return running.app(witness.pid()).has_value(); })) return false;
        return running.hide(witness.pid()) && spinUntil([&] {
                   const auto state = probe.cardinals(witness.window(), "WM_STATE");
                   return !state.empty() && state.front() == kIconic;
               });
    }

    Backends x;
    XProbe probe;
    SimAlerts alerts;
    LinuxAppCatalog catalog;
    SystemThreads threads;
    X11HiddenApps hidden;
    X11RunningApps apps{*x.connection, x.screens, catalog, hidden, x.loop, threads};
    Heard heard{apps};
};

}  // namespace

TEST_F(X11RunningAppsTest, AnApplicationComesWithItsFirstWindowAndGoesWithItsLast) {
    auto client = std::make_unique<TestClient>(std::vector<std::string>{"--title", "First"});
    ASSERT_TRUE(client->started());
    const Pid pid = client->pid();
    ASSERT_TRUE(spinUntil([&] { return heard.launchesOf(pid) == 1; }));
    const auto app = apps.app(pid);
    ASSERT_TRUE(app);
    EXPECT_EQ(app->policy, ActivationPolicy::regular);
    EXPECT_EQ(app->name, "quillbern-test");
    EXPECT_FALSE(app->appId);
    EXPECT_GE(heard.changes, 1);

    // A second window of the same process is no second application.
    const std::size_t clients = probe.cardinals(probe.root(), "_NET_CLIENT_LIST").size();
    openAnotherWindow(probe, client->window());
    ASSERT_TRUE(spinUntil([&] { return probe.cardinals(probe.root(), "_NET_CLIENT_LIST").size() == clients + 1; }));
    // Looks come in order: once a later application is heard, the second window was seen.
    TestClient later({"--title", "Later"});
    ASSERT_TRUE(later.started());
    ASSERT_TRUE(spinUntil([&] { return heard.launchesOf(later.pid()) == 1; }));
    EXPECT_EQ(heard.launchesOf(pid), 1);
    EXPECT_EQ(std::ranges::count(apps.runningApps(), pid, &RunningApp::pid), 1);

    client.reset();
    EXPECT_TRUE(spinUntil([&] { return heard.terminatedOnce(pid); }));
    EXPECT_FALSE(apps.app(pid));
}

TEST_F(X11RunningAppsTest, ACallFromAnotherThreadStopsADebugBuild) {
#ifdef NDEBUG
    GTEST_SKIP() << "contract checks are compiled into debug builds only";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(std::thread([&] { apps.hide(getpid()); }).join(), "called off the loop it lives on");
#endif
}

TEST_F(X11RunningAppsTest, AnApplicationIsKnownByTheDesktopEntryItsWindowsMatch) {
    // The main thread looks entries up meanwhile, as the pinned items do.
    ASSERT_EQ(catalog.pathForAppId("org.example.Probe"), probeEntry().string());
    TestClient client({"--class", "QuillbernProbe", "--title", "Probe"});
    ASSERT_TRUE(client.started());
    ASSERT_TRUE(
        spinUntil([&] { return catalog.pathForAppId("org.example.Terminal") && heard.launchesOf(client.pid()) == 1; }));
    const auto app = apps.app(client.pid());
    ASSERT_TRUE(app);
    EXPECT_EQ(app->appId, "org.example.Probe");
    EXPECT_EQ(app->appPath, probeEntry().string());
    EXPECT_EQ(app->name, "Probe App");
}

TEST_F(X11RunningAppsTest, AWindowThatNamesItsApplicationAfterMappingIsIdentifiedAgain) {
    TestClient client({"--class", "quillbern-unnamed", "--title", "Late"});
    ASSERT_TRUE(client.started());
    ASSERT_TRUE(spinUntil([&] { return heard.launchesOf(client.pid()) == 1; }));
    ASSERT_FALSE(apps.app(client.pid())->appId);
    const int changes = heard.changes;

    const std::string wmClass = std::string("quillbern-probe") + '\0' + "QuillbernProbe" + '\0';
    xcb_change_property(probe.c(), XCB_PROP_MODE_REPLACE, client.window(), XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                        std::uint32_t(wmClass.size()), wmClass.data());
    xcb_flush(probe.c());
    EXPECT_TRUE(spinUntil([&] { return apps.app(client.pid())->appId == "org.example.Probe"; }));
    EXPECT_EQ(apps.app(client.pid())->name, "Probe App");
    EXPECT_GT(heard.changes, changes);

    // A declared application id comes before the class.
    const std::string id = "org.example.Terminal";
    xcb_change_property(probe.c(), XCB_PROP_MODE_REPLACE, client.window(), probe.atom("_GTK_APPLICATION_ID"),
                        probe.atom("UTF8_STRING"), 8, std::uint32_t(id.size()), id.data());
    xcb_flush(probe.c());
    EXPECT_TRUE(spinUntil([&] { return apps.app(client.pid())->appId == "org.example.Terminal"; }));
    EXPECT_EQ(heard.launchesOf(client.pid()), 1) << "still the same application";
}

TEST_F(X11RunningAppsTest, AWindowThatTurnsIntoADockAndBackIsNoApplicationMeanwhile) {
    TestClient client({"--title", "Turning"});
    ASSERT_TRUE(client.started());
    ASSERT_TRUE(spinUntil([&] { return heard.launchesOf(client.pid()) == 1; }));
    // A change of type asks for no look of its own: the next look, which another
    // application's start brings, must read that window again all the same.
    const auto turnInto = [&](const std::string& type, const std::vector<std::string>& nextTitle) {
        const xcb_atom_t value = probe.atom(type);
        xcb_change_property(probe.c(), XCB_PROP_MODE_REPLACE, client.window(), probe.atom("_NET_WM_WINDOW_TYPE"),
                            XCB_ATOM_ATOM, 32, 1, &value);
        xcb_flush(probe.c());
        auto next = std::make_unique<TestClient>(nextTitle);
        EXPECT_TRUE(next->started());
        EXPECT_TRUE(spinUntil([&] { return heard.launchesOf(next->pid()) == 1; }));
        return next;
    };
    const auto afterDock = turnInto("_NET_WM_WINDOW_TYPE_DOCK", {"--title", "Next"});
    EXPECT_TRUE(heard.terminatedOnce(client.pid()));
    EXPECT_FALSE(apps.app(client.pid()));
    const auto afterNormal = turnInto("_NET_WM_WINDOW_TYPE_NORMAL", {"--title", "Last"});
    EXPECT_EQ(heard.launchesOf(client.pid()), 2);
}

TEST_F(X11RunningAppsTest, AnEntryInstalledWhileRunningIsKnownToItsRunningProcessAndTheNext) {
    // An application identified first: the entries are read, and kept.
    TestClient early({"--class", "QuillbernEarly", "--title", "Early"});
    ASSERT_TRUE(early.started());
    ASSERT_TRUE(spinUntil([&] { return heard.launchesOf(early.pid()) == 1; }));
    int told = 0;
    Subscription changes = catalog.onEntriesChanged([&told] { ++told; });
    writeEntry(applications() / "org.example.Late.desktop",
               "Name=Late App\nExec=/bin/false\nStartupWMClass=QuillbernLate\n");
    ASSERT_TRUE(spinUntil([&] { return told > 0; }));
    // The processes running already are known by the entries installed for them, one install
    // after another: GIO tells of a change once per reading of the entries.
    writeEntry(applications() / "org.example.Early.desktop",
               "Name=Early App\nExec=/bin/false\nStartupWMClass=QuillbernEarly\n");
    EXPECT_TRUE(spinUntil([&] { return apps.app(early.pid())->appId == "org.example.Early"; }));
    EXPECT_EQ(apps.app(early.pid())->name, "Early App");
    TestClient waiting({"--class", "QuillbernWaiting", "--title", "Waiting"});
    ASSERT_TRUE(waiting.started());
    ASSERT_TRUE(spinUntil([&] { return heard.launchesOf(waiting.pid()) == 1; }));
    writeEntry(applications() / "org.example.Waiting.desktop",
               "Name=Waiting App\nExec=/bin/false\nStartupWMClass=QuillbernWaiting\n");
    EXPECT_TRUE(spinUntil([&] { return apps.app(waiting.pid())->appId == "org.example.Waiting"; }));
    TestClient client({"--class", "QuillbernLate", "--title", "Late"});
    ASSERT_TRUE(client.started());
    ASSERT_TRUE(spinUntil([&] { return heard.launchesOf(client.pid()) == 1; }));
    EXPECT_EQ(apps.app(client.pid())->appId, "org.example.Late");
    EXPECT_EQ(apps.app(client.pid())->name, "Late App");
}

TEST_F(X11RunningAppsTest, ATerminalIsKnownByItsProgram) {
    Spawned xterm({"xterm", "-title", "Known terminal", "-e", "sleep", "60"});
    const Pid pid = xterm.pid();
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(spinUntil([&] { return heard.launchesOf(pid) == 1; }));
    const auto app = apps.app(pid);
    ASSERT_TRUE(app);
    EXPECT_EQ(app->appId, "org.example.Terminal");
    EXPECT_EQ(app->name, "Example Terminal");
    xterm.end();
    EXPECT_TRUE(spinUntil([&] { return heard.terminatedOnce(pid); }));
}

TEST_F(X11RunningAppsTest, TheFrontmostApplicationFollowsTheActiveWindow) {
    TestClient first({"--title", "Front one", "--geometry", "300x200+100+300"});
    TestClient second({"--title", "Front two", "--geometry", "300x200+500+300"});
    ASSERT_TRUE(first.started() && second.started());
    ASSERT_TRUE(spinUntil([&] { return heard.launchesOf(first.pid()) == 1 && heard.launchesOf(second.pid()) == 1; }));

    ASSERT_EQ(run({"xdotool", "windowactivate", std::to_string(first.window())}), 0);
    EXPECT_TRUE(spinUntil([&] { return apps.frontmostApp() && apps.frontmostApp()->pid == first.pid(); }));
    EXPECT_TRUE(spinUntil([&] { return !heard.activated.empty() && heard.activated.back() == first.pid(); }));

    ASSERT_EQ(run({"xdotool", "windowactivate", std::to_string(second.window())}), 0);
    EXPECT_TRUE(spinUntil([&] { return apps.frontmostApp() && apps.frontmostApp()->pid == second.pid(); }));
    EXPECT_TRUE(spinUntil([&] { return heard.activated.back() == second.pid(); }));
}

TEST_F(X11RunningAppsTest, ActivatingAnApplicationRaisesAndFocusesItsWindow) {
    TestClient behind({"--title", "Behind", "--geometry", "300x200+150+150"});
    TestClient over({"--title", "Over", "--geometry", "300x200+200+200"});
    ASSERT_TRUE(behind.started() && over.started());
    ASSERT_TRUE(spinUntil([&] { return heard.launchesOf(behind.pid()) == 1 && heard.launchesOf(over.pid()) == 1; }));
    ASSERT_EQ(run({"xdotool", "windowactivate", std::to_string(over.window())}), 0);
    ASSERT_TRUE(spinUntil([&] { return activeWindow(probe) == over.window(); }));

    EXPECT_TRUE(apps.activate(behind.pid()));
    EXPECT_TRUE(spinUntil([&] {
        return activeWindow(probe) == behind.window() &&
               probe.stackIndex(behind.window()) > probe.stackIndex(over.window());
    }));
    EXPECT_TRUE(spinUntil([&] { return apps.frontmostApp() && apps.frontmostApp()->pid == behind.pid(); }));
    EXPECT_FALSE(apps.activate(0x3FFFFFFF));
}

TEST_F(X11RunningAppsTest, TheLauncherBringsARunningApplicationForwardInsteadOfStartingIt) {
    TestClient probeApp({"--class", "QuillbernProbe", "--title", "Running probe"});
    TestClient other({"--title", "Other"});
    ASSERT_TRUE(probeApp.started() && other.started());
    ASSERT_TRUE(spinUntil([&] { return heard.launchesOf(probeApp.pid()) == 1 && heard.launchesOf(other.pid()) == 1; }));
    ASSERT_EQ(run({"xdotool", "windowactivate", std::to_string(other.window())}), 0);
    ASSERT_TRUE(spinUntil([&] { return activeWindow(probe) == other.window(); }));

    int started = 0;
    LinuxLauncher launcher(apps, alerts, [&started](std::shared_ptr<ChildProcess>, const Path&) { ++started; });
    std::optional<Result<void>> outcome;
    launcher.launch(probeEntry().string(), true, [&outcome](Result<void> result) { outcome = result; });
    ASSERT_TRUE(outcome);
    EXPECT_TRUE(outcome->ok());
    EXPECT_EQ(started, 0);
    EXPECT_TRUE(spinUntil([&] { return activeWindow(probe) == probeApp.window(); }));
}

TEST_F(X11RunningAppsTest, ALaunchedProcessRunsBeforeItsFirstWindowUntilItEnds) {
    LinuxLauncher launcher(apps, alerts, [this](std::shared_ptr<ChildProcess> child, const Path& entry) {
        apps.noteLaunch(std::move(child), entry);
    });
    launcher.launch(sleeperEntry().string(), true, [](Result<void>) {});
    ASSERT_TRUE(spinUntil([&] { return !heard.launched.empty(); }));
    const RunningApp sleeper = heard.launched.front();
    EXPECT_EQ(sleeper.appId, "org.example.Sleeper");
    EXPECT_EQ(sleeper.name, "Sleeper");
    EXPECT_EQ(sleeper.policy, ActivationPolicy::regular);
    EXPECT_TRUE(apps.app(sleeper.pid));

    kill(sleeper.pid, SIGTERM);
    EXPECT_TRUE(spinUntil([&] { return heard.terminatedOnce(sleeper.pid); }));
    EXPECT_FALSE(apps.app(sleeper.pid));
}

TEST_F(X11RunningAppsTest, AProcessTheDesktopLaunchedIsTheEntryItStartedWhateverItsWindowSays) {
    LinuxLauncher launcher(apps, alerts);
    launcher.launch(launchedEntry().string(), true, [](Result<void>) {});
    ASSERT_TRUE(spinUntil([&] {
        return std::ranges::any_of(heard.launched, [](const RunningApp& app) { return app.name == "Launched Probe"; });
    }));
    const auto launched =
        std::ranges::find_if(heard.launched, [](const RunningApp& app) { return app.name == "Launched Probe"; });
    EXPECT_EQ(launched->appId, "org.example.Launched") << "not the probe its window's class names";
    EXPECT_TRUE(apps.quit(launched->pid));
    EXPECT_TRUE(spinUntil([&] { return heard.terminatedOnce(launched->pid); }));
}

TEST_F(X11RunningAppsTest, HidingMinimisesEveryWindowAndQuittingClosesThem) {
    TestClient client({"--title", "Hidden"});
    ASSERT_TRUE(client.started());
    const Pid pid = client.pid();
    ASSERT_TRUE(spinUntil([&] { return heard.launchesOf(pid) == 1; }));
    const std::size_t clients = probe.cardinals(probe.root(), "_NET_CLIENT_LIST").size();
    openAnotherWindow(probe, client.window());
    ASSERT_TRUE(spinUntil([&] { return probe.cardinals(probe.root(), "_NET_CLIENT_LIST").size() == clients + 1; }));
    std::vector<xcb_window_t> windows;
    for (const std::uint32_t window : probe.cardinals(probe.root(), "_NET_CLIENT_LIST")) {
        const auto owner = probe.cardinals(window, "_NET_WM_PID");
        if (!owner.empty() && Pid(owner.front()) == pid) windows.push_back(window);
    }
    ASSERT_EQ(windows.size(), 2u);

    EXPECT_TRUE(apps.hide(pid));
    constexpr std::uint32_t kIconic = 3;
    EXPECT_TRUE(spinUntil([&] {
        return std::ranges::all_of(windows, [&](xcb_window_t window) {
            const auto state = probe.cardinals(window, "WM_STATE");
            return !state.empty() && state.front() == kIconic;
        });
    }));

    EXPECT_TRUE(apps.quit(pid));
    EXPECT_TRUE(spinUntil([&] { return heard.terminatedOnce(pid); })) << "its last window closed, the client ended";
    EXPECT_FALSE(apps.hide(pid));
    EXPECT_FALSE(apps.quit(pid));
    EXPECT_FALSE(apps.quit(getpid())) << "never ourselves";
}

TEST_F(X11RunningAppsTest, AnApplicationIsHiddenWhileEveryWindowIsMinimisedAndUnhidingRestoresThem) {
    TestClient client({"--title", "Hidden"});
    ASSERT_TRUE(client.started());
    const Pid pid = client.pid();
    ASSERT_TRUE(spinUntil([&] { return heard.launchesOf(pid) == 1; }));
    const std::size_t clients = probe.cardinals(probe.root(), "_NET_CLIENT_LIST").size();
    openAnotherWindow(probe, client.window());
    ASSERT_TRUE(spinUntil([&] { return probe.cardinals(probe.root(), "_NET_CLIENT_LIST").size() == clients + 1; }));
    TestClient other({"--title", "Other"});
    ASSERT_TRUE(other.started());
    ASSERT_TRUE(spinUntil([&] { return heard.launchesOf(other.pid()) == 1; }));
    std::vector<xcb_window_t> windows;
    for (const std::uint32_t window : probe.cardinals(probe.root(), "_NET_CLIENT_LIST")) {
        const auto owner = probe.cardinals(window, "_NET_WM_PID");
        if (!owner.empty() && Pid(owner.front()) == pid) windows.push_back(window);
    }
    ASSERT_EQ(windows.size(), 2u);
    const auto allViewable = [&](bool viewable) {
        return std::ranges::all_of(windows, [&](xcb_window_t window) { return probe.isViewable(window) == viewable; });
    };
    EXPECT_FALSE(apps.app(pid)->isHidden);

    // The window manager unmaps the windows in its own time.
    EXPECT_TRUE(apps.hide(pid));
    EXPECT_TRUE(spinUntil([&] { return apps.app(pid)->isHidden && allViewable(false); }));
    EXPECT_FALSE(apps.app(other.pid())->isHidden);

    EXPECT_TRUE(apps.unhide(pid));
    EXPECT_TRUE(spinUntil([&] { return !apps.app(pid)->isHidden && allViewable(true); }));

    // One window minimised by other means is no hidden application; both are, and unhiding
    // restores them though it minimised neither.
    ASSERT_EQ(run({"xdotool", "windowminimize", std::to_string(windows[0])}), 0);
    ASSERT_TRUE(spinUntil([&] { return !probe.isViewable(windows[0]); }));
    ASSERT_TRUE(windowManagerCaughtUp(other.window()));
    EXPECT_FALSE(apps.app(pid)->isHidden);
    ASSERT_EQ(run({"xdotool", "windowminimize", std::to_string(windows[1])}), 0);
    EXPECT_TRUE(spinUntil([&] { return apps.app(pid)->isHidden; }));
    EXPECT_TRUE(apps.unhide(pid));
    EXPECT_TRUE(spinUntil([&] { return !apps.app(pid)->isHidden && allViewable(true); }));
    EXPECT_FALSE(apps.unhide(getpid())) << "no application of ours";
}

TEST_F(X11RunningAppsTest, AnApplicationOurHidingHidIsShownWholeByARaiseOfOneOfItsWindows) {
    TestClient client({"--title", "Hidden"});
    ASSERT_TRUE(client.started());
    const Pid pid = client.pid();
    ASSERT_TRUE(spinUntil([&] { return heard.launchesOf(pid) == 1; }));
    openAnotherWindow(probe, client.window());
    X11WindowAccess access([this] { return x.screens.desktopSpace(); }, hidden);
    X11Permissions permissions(*x.connection);
    SimSessionEvents session;
    const auto startEngine = [&] {
        auto engine = std::make_unique<WindowEngine>(enginePorts(x, threads, access, permissions, apps, session));
        engine->start();
        return engine;
    };
    std::unique_ptr<WindowEngine> engine = startEngine();
    const auto windowsOfClient = [&] {
        std::vector<WindowInfo> windows;
        std::ranges::copy_if(engine->snapshot().windows, std::back_inserter(windows),
                             [pid](const WindowInfo& w) { return w.pid == pid; });
        return windows;
    };
    ASSERT_TRUE(spinUntil([&] { return windowsOfClient().size() == 2; }));
    const auto allViewable = [&](bool viewable) {
        return std::ranges::all_of(windowsOfClient(),
                                   [&](const WindowInfo& w) { return probe.isViewable(w.id) == viewable; });
    };

    ASSERT_TRUE(apps.hide(pid));
    ASSERT_TRUE(spinUntil([&] { return allViewable(false) && windowsOfClient().front().isMinimized; }));
    const WindowInfo clicked = windowsOfClient().back();
    engine->worker()->perform(WindowAction::raise(), clicked);
    EXPECT_TRUE(spinUntil([&] { return allViewable(true); })) << "the other window its hiding minimised came back";
    EXPECT_TRUE(spinUntil([&] { return activeWindow(probe) == clicked.id; })) << "the one raised ends up in front";
    // The raise brings its window forward once more a moment after the unhiding, and would
    // undo a minimise that came before: only the end of its engine says it is over.
    engine.reset();
    engine = startEngine();
    ASSERT_TRUE(spinUntil([&] { return windowsOfClient().size() == 2; }));

    // Minimised by other means, one window alone comes back.
    ASSERT_EQ(run({"xdotool", "windowminimize", std::to_string(client.window())}), 0);
    ASSERT_TRUE(spinUntil([&] { return !probe.isViewable(client.window()); }));
    const std::vector<WindowInfo> both = windowsOfClient();
    const WindowInfo other = *std::ranges::find_if(both, [&](const WindowInfo& w) { return w.id != client.window(); });
    ASSERT_EQ(run({"xdotool", "windowminimize", std::to_string(other.id)}), 0);
    // Should this wait fail, it says whether the engine or the window manager lagged.
    const auto views = [&] {
        std::string text;
        for (const WindowInfo& w : windowsOfClient()) {
            const auto state = probe.cardinals(w.id, "WM_STATE");
            text += std::to_string(w.id) + (w.isMinimized ? " minimised" : " shown") + ", WM_STATE " +
                    (state.empty() ? "none" : std::to_string(state.front())) + "; ";
        }
        return text;
    };
    ASSERT_TRUE(spinUntil([&] { return std::ranges::all_of(windowsOfClient(), &WindowInfo::isMinimized); }))
        << "the engine's view and the server's: " << views();
    engine->worker()->perform(WindowAction::raise(), other);
    ASSERT_TRUE(spinUntil([&] { return probe.isViewable(other.id); }));
    EXPECT_TRUE(windowManagerCaughtUp(other.id));
    EXPECT_FALSE(probe.isViewable(client.window()));
}

TEST_F(X11RunningAppsTest, TwoProcessesOfOneApplicationHiddenTogetherComeBackTogether) {
    // Each xterm window is a process of its own.
    Spawned first({"xterm", "-title", "First terminal", "-e", "sleep", "60"});
    Spawned second({"xterm", "-title", "Second terminal", "-e", "sleep", "60"});
    ASSERT_TRUE(spinUntil([&] { return heard.launchesOf(first.pid()) == 1 && heard.launchesOf(second.pid()) == 1; }));
    ASSERT_EQ(apps.app(first.pid())->appId, apps.app(second.pid())->appId);
    X11WindowAccess access([this] { return x.screens.desktopSpace(); }, hidden);
    X11Permissions permissions(*x.connection);
    SimSessionEvents session;
    WindowEngine engine(enginePorts(x, threads, access, permissions, apps, session));
    engine.start();
    const auto windowOf = [&](Pid pid) -> std::optional<WindowInfo> {
        for (const WindowInfo& window : engine.snapshot().windows) {
            if (window.pid == pid) return window;
        }
        return std::nullopt;
    };
    ASSERT_TRUE(spinUntil([&] { return windowOf(first.pid()) && windowOf(second.pid()); }));
    const WindowId clicked = windowOf(first.pid())->id;
    const WindowId other = windowOf(second.pid())->id;

    ASSERT_TRUE(apps.hide(first.pid()));
    ASSERT_TRUE(apps.hide(second.pid()));
    ASSERT_TRUE(spinUntil(
        [&] { return !probe.isViewable(clicked) && !probe.isViewable(other) && windowOf(first.pid())->isMinimized; }));
    engine.worker()->perform(WindowAction::raise(), *windowOf(first.pid()));
    EXPECT_TRUE(spinUntil([&] { return probe.isViewable(clicked) && probe.isViewable(other); }))
        << "the other process's window its hiding minimised came back";
    EXPECT_TRUE(spinUntil([&] { return activeWindow(probe) == clicked; })) << "the one raised ends up in front";
    EXPECT_TRUE(hidden.windows(second.pid()).empty()) << "nothing is left hidden";
    engine.stop();
}

TEST_F(X11RunningAppsTest, ALaunchedProcessShowingItsFirstWindowIsAChangeThatBringsItsPicture) {
    LinuxLauncher launcher(apps, alerts, [this](std::shared_ptr<ChildProcess> child, const Path& entry) {
        apps.noteLaunch(std::move(child), entry);
    });
    launcher.launch(slowEntry().string(), true, [](Result<void>) {});
    ASSERT_TRUE(spinUntil([&] { return !heard.launched.empty(); }));
    const Pid slow = heard.launched.front().pid;
    EXPECT_EQ(heard.launched.front().appId, "org.example.Slow");
    EXPECT_TRUE(apps.windowPictures(slow).empty()) << "no window yet";
    const int changes = heard.changes;
    EXPECT_TRUE(spinUntil([&] { return heard.changes > changes; }));
    EXPECT_FALSE(apps.windowPictures(slow).empty());
    EXPECT_TRUE(apps.quit(slow));
    EXPECT_TRUE(spinUntil([&] { return heard.terminatedOnce(slow); }));
}

TEST_F(X11RunningAppsTest, QuittingAProcessWithoutWindowsEndsIt) {
    LinuxLauncher launcher(apps, alerts, [this](std::shared_ptr<ChildProcess> child, const Path& entry) {
        apps.noteLaunch(std::move(child), entry);
    });
    launcher.launch(sleeperEntry().string(), true, [](Result<void>) {});
    ASSERT_TRUE(spinUntil([&] { return !heard.launched.empty(); }));
    const Pid sleeper = heard.launched.front().pid;
    EXPECT_TRUE(apps.app(sleeper)->startedHere);
    EXPECT_TRUE(apps.quit(sleeper));
    EXPECT_TRUE(spinUntil([&] { return heard.terminatedOnce(sleeper); }));
}

TEST_F(X11RunningAppsTest, QuitSignalsNoProcessKnownOnlyThroughTheXServer) {
    // Each holds SIGTERM back, so one sent stays pending for the test to see: a client whose
    // window names a bystander as its process, and relays of a forwarded window that names no
    // machine, or this one, taken for the relay's own.
    Bystander bystander;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--title", "Liar", "--pid", std::to_string(bystander.pid())},
          std::vector<std::string>{"--title", "Relay", "--forward", "QuillbernUnnamed@"},
          std::vector<std::string>{"--title", "Relay", "--forward", "QuillbernLocal@" + hostName()}}) {
        const auto client = Bystander::holdingTermination([&] { return std::make_unique<TestClient>(args); });
        ASSERT_TRUE(client->started());
        ASSERT_TRUE(spinUntil([&] { return heard.launchesOf(client->pid()) == 1; }));

        // Its windows go as Quit is asked: the application is still shown then.
        std::vector<xcb_window_t> windows = client->windowsPrinted("forwarded");
        windows.push_back(client->window());
        for (const xcb_window_t window : windows)
            xcb_destroy_window(probe.c(), window);
        xcb_flush(probe.c());
        for (const xcb_window_t window : windows)
            ASSERT_TRUE(unlisted(probe, window));
        EXPECT_FALSE(apps.app(client->pid())->startedHere);
        EXPECT_TRUE(apps.quit(client->pid()));
        TestClient witness({"--title", "Witness"});
        ASSERT_TRUE(workerCaughtUp(witness));
        EXPECT_FALSE(termWaitsFor(client->pid())) << args.back();
        EXPECT_FALSE(termWaitsFor(bystander.pid())) << args.back();
    }
}

TEST_F(X11RunningAppsTest, TheWindowsARelayHoldsForOneMachineAreOneApplicationThatQuitNeverEndsTheRelay) {
    // A relay, as ssh -X is: a window of its own, and clients of two other machines, each on a
    // connection of its own; the server names the relay as the process of them all.
    TestClient relay({"--title", "Relay", "--forward", "QuillbernRemoteTerm", "--forward", "QuillbernRemoteLogo",
                      "--forward", "QuillbernFarClock@far.example", "--forward", "QuillbernFarEyes@FAR.example"});
    ASSERT_TRUE(relay.started());
    const std::vector<xcb_window_t> forwarded = relay.windowsPrinted("forwarded");
    ASSERT_EQ(forwarded.size(), 4u);
    const auto remoteApps = [&] {
        std::vector<RunningApp> remote;
        std::ranges::copy_if(apps.runningApps(), std::back_inserter(remote),
                             [](const RunningApp& app) { return !isProcessOwner(app.pid); });
        return remote;
    };
    ASSERT_TRUE(spinUntil([&] { return remoteApps().size() == 2 && apps.app(relay.pid()); }))
        << remoteApps().size() << " applications of other machines";
    EXPECT_EQ(apps.app(relay.pid())->windowClass, "quillbern-test") << "the relay's own window is its alone";
    const std::vector<RunningApp> remote = remoteApps();
    const auto far = std::ranges::find_if(remote, [](const RunningApp& app) {
        return app.windowClass == "QuillbernFarClock" || app.windowClass == "QuillbernFarEyes";
    });
    ASSERT_NE(far, remote.end());
    const RunningApp& elsewhere = remote[far == remote.begin() ? 1 : 0];

    constexpr std::uint32_t kIconic = 3;
    const auto minimised = [&](xcb_window_t window) {
        const auto state = probe.cardinals(window, "WM_STATE");
        return !state.empty() && state.front() == kIconic;
    };
    ASSERT_TRUE(apps.hide(far->pid));
    EXPECT_TRUE(spinUntil([&] { return minimised(forwarded[2]) && minimised(forwarded[3]); }))
        << "both windows of the machine, whatever the case of its name";
    EXPECT_FALSE(minimised(forwarded[0]) || minimised(forwarded[1])) << "the other machine's are another's";
    EXPECT_TRUE(probe.isViewable(relay.window())) << "hiding relayed clients hides nothing of the relay";

    // Quit as the windows went: the relay is sent nothing.
    for (const xcb_window_t window : {forwarded[0], forwarded[1]})
        xcb_destroy_window(probe.c(), window);
    xcb_flush(probe.c());
    ASSERT_TRUE(unlisted(probe, forwarded[0]) && unlisted(probe, forwarded[1]));
    EXPECT_TRUE(apps.quit(elsewhere.pid));
    // The relay still answers, so it was sent no signal.
    const std::size_t clients = probe.cardinals(probe.root(), "_NET_CLIENT_LIST").size();
    openAnotherWindow(probe, relay.window());
    EXPECT_TRUE(spinUntil([&] { return probe.cardinals(probe.root(), "_NET_CLIENT_LIST").size() == clients + 1; }));
    EXPECT_FALSE(hasEnded(relay.pid()));
}

TEST_F(X11RunningAppsTest, AWindowWhoseProcessTheServerCannotTellIsItsOwnApplicationWhateverProcessItNames) {
    // Over TCP the server cannot tell the client's process; the window names a bystander.
    Bystander bystander;
    TestClient remote({"--tcp", "--class", "QuillbernOverTcp", "--pid", std::to_string(bystander.pid())});
    ASSERT_TRUE(remote.started());
    ASSERT_TRUE(spinUntil([&] { return appOfClass(apps, "QuillbernOverTcp").has_value(); }));
    const RunningApp app = *appOfClass(apps, "QuillbernOverTcp");
    EXPECT_FALSE(isProcessOwner(app.pid));
    EXPECT_FALSE(apps.app(bystander.pid())) << "not the process it names";
}

TEST_F(X11RunningAppsTest, AProcessThatTookTheIdOfAClientThatHandedOverItsConnectionIsNeverSignalled) {
    // The client makes its window, hands its connection to a child and ends; another process
    // takes its id at once. Seen by the program as it happens, and by one started after it.
    for (const bool restart : {false, true}) {
        TestClient handing({"--hand-over", "--class", "QuillbernHanded", "--title", "Handed"});
        ASSERT_TRUE(handing.started());
        const xcb_window_t window = handing.window();
        const Pid client = handing.pid();
        ASSERT_TRUE(handing.waitForEnd());
        std::string why;
        const std::unique_ptr<Bystander> bystander = takeId(client, why);
        if (!bystander) {
            xcb_kill_client(probe.c(), window);
            xcb_flush(probe.c());
            GTEST_SKIP() << "no process could take the id: " << why;
        }
        const auto restarted =
            restart ? std::make_unique<X11RunningApps>(*x.connection, x.screens, catalog, hidden, x.loop, threads)
                    : nullptr;
        X11RunningApps& running = restart ? *restarted : apps;

        askTestClient(probe, window, "QUILLBERN_TEST_MAP");
        ASSERT_TRUE(spinUntil([&] { return appOfClass(running, "QuillbernHanded").has_value(); }));
        const RunningApp handed = *appOfClass(running, "QuillbernHanded");

        // The child's connection closes, and its window with it, as Quit is asked.
        xcb_kill_client(probe.c(), window);
        xcb_flush(probe.c());
        ASSERT_TRUE(unlisted(probe, window));
        EXPECT_TRUE(running.quit(handed.pid));
        TestClient witness({"--title", "Witness"});
        ASSERT_TRUE(workerCaughtUp(running, witness));
        EXPECT_FALSE(termWaitsFor(client)) << (restart ? "after a restart" : "as it happened");
    }
}

TEST_F(X11RunningAppsTest, AnApplicationsWindowCarriesItsPicture) {
    TestClient client({"--title", "Pictured"});
    ASSERT_TRUE(client.started());
    ASSERT_TRUE(spinUntil([&] { return heard.launchesOf(client.pid()) == 1; }));
    const std::vector<PixelBuffer> pictures = apps.windowPictures(client.pid());
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].width, 16);
    EXPECT_EQ(
        std::vector<std::uint8_t>(pictures[0].rgbaPremultiplied.begin(), pictures[0].rgbaPremultiplied.begin() + 4),
        (std::vector<std::uint8_t>{0x30, 0x80, 0xC0, 0xFF}));
    EXPECT_TRUE(apps.windowPictures(0x3FFFFFFF).empty());

    // xterm gives its picture the older way, as an icon pixmap and mask in WM_HINTS.
    Spawned xterm({"xterm", "-title", "Pictured terminal", "-e", "sleep", "60"});
    ASSERT_TRUE(spinUntil([&] { return heard.launchesOf(xterm.pid()) == 1; }));
    const std::vector<PixelBuffer> icon = apps.windowPictures(xterm.pid());
    ASSERT_EQ(icon.size(), 1u);
    const std::vector<std::uint8_t>& bytes = icon[0].rgbaPremultiplied;
    int opaque = 0, clear = 0;
    for (std::size_t i = 3; i < bytes.size(); i += 4) {
        opaque += bytes[i] == 255;
        clear += bytes[i] == 0;
    }
    EXPECT_GT(opaque, 0);
    EXPECT_GT(clear, 0) << "the mask cuts it to its shape";
}

TEST(X11SessionEventsTest, ADesktopSwitchReachesTheSubscribers) {
    Backends x;
    X11SessionEvents session(*x.connection);
    int switches = 0;
    const Subscription subscription = session.on(SessionEvent::desktopChanged, [&switches] { ++switches; });
    int wakes = 0;
    const Subscription other = session.on(SessionEvent::didWake, [&wakes] { ++wakes; });

    ASSERT_EQ(run({"xdotool", "set_desktop", "1"}), 0);
    EXPECT_TRUE(spinUntil([&] { return switches == 1; }));
    ASSERT_EQ(run({"xdotool", "set_desktop", "0"}), 0);
    EXPECT_TRUE(spinUntil([&] { return switches == 2; }));
    EXPECT_EQ(wakes, 0);
}
