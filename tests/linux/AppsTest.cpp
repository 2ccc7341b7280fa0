#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QUrl>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gio/gio.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <sys/stat.h>
#include <thread>

#include "PrivateBus.h"
#include "core/model/InstalledAppsScanner.h"
#include "linux/freedesktop/LinuxAppCatalog.h"
#include "linux/freedesktop/LinuxLauncher.h"
#include "linux/icu/IcuTextServices.h"
#include "linux/process/ChildProcess.h"
#include "linux/process/LinuxAppProcess.h"
#include "linux/process/LinuxProcesses.h"
#include "linux/process/ProcessStat.h"
#include "sim/SimAlerts.h"
#include "sim/SimLog.h"
#include "sim/SimRunningApps.h"
#include "support/ScopedEnvironment.h"

using namespace quillbern;
namespace fs = std::filesystem;

namespace {

void writeFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

std::string entry(const std::string& name, const std::string& exec, const std::string& extra = "") {
    return "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + exec + "\n" + extra;
}

int lineCount(const fs::path& file) {
    std::ifstream in(file);
    int lines = 0;
    for (std::string line; std::getline(in, line);)
        ++lines;
    return lines;
}

// Polls until `done` holds or the limit passes.
template <class Condition>
bool waitUntil(Condition done, std::chrono::milliseconds limit = std::chrono::milliseconds(60000)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// The process is gone or a zombie: it runs no more.
bool hasEnded(Pid pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    if (!std::getline(stat, text)) return true;
    const auto afterName = text.rfind(')');
    return afterName != std::string::npos && afterName + 2 < text.size() && text[afterName + 2] == 'Z';
}

// Desktop entries in data directories of the test's own. GIO reads the directories once
// per process, so every entry is written before the first test asks.
class DesktopEntries : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        char pattern[] = "/tmp/quillbern-apps-XXXXXX";
        root = mkdtemp(pattern);
        const fs::path script = root / "append.sh";
        writeFile(script, "#!/bin/sh\necho launched >> '" + (root / "launches.txt").string() + "'\n");
        fs::permissions(script, fs::perms::owner_all);
        const fs::path apps = root / "data" / "applications";
        writeFile(apps / "org.example.Visible.desktop", entry("Visible", "/bin/true"));
        writeFile(apps / "tools" / "nested.desktop", entry("Nested", "/bin/true"));
        // Applications that write down what they open.
        const fs::path record = root / "record.sh";
        writeFile(record,
                  "#!/bin/sh\nfor f in \"$@\"; do echo \"$f\" >> '" + (root / "opened.txt").string() + "'; done\n");
        fs::permissions(record, fs::perms::owner_all);
        // The hidden entry is the desktop's file manager.
        writeFile(
            apps / "quiet.desktop",
            entry("Quiet", record.string() + " %f",
                  "NoDisplay=true\nStartupWMClass=QuietWindow\nTryExec=/usr/bin/env\nMimeType=inode/directory;\n"));
        writeFile(apps / "gone.desktop", entry("Gone", "/bin/true", "Hidden=true\n"));
        // Xfce's page of startup applications.
        writeFile(apps / "xfce-session-settings.desktop",
                  entry("Session and Startup", "touch " + startupPageOpened().string(),
                        "NoDisplay=true\nOnlyShowIn=XFCE;\n"));
        writeFile(apps / "counter.desktop", entry("Counter", script.string()));
        writeFile(root / "home" / "applications" / "mine.desktop", entry("Mine", "/bin/true"));
        // The user's entries mask the system's: by another name, or hidden.
        writeFile(apps / "mine.desktop", entry("System Mine", "/bin/true"));
        writeFile(apps / "masked.desktop", entry("Masked", "/bin/true"));
        writeFile(root / "home" / "applications" / "masked.desktop", entry("Masked", "/bin/true", "Hidden=true\n"));
        // Entries the scan leaves out, without stopping at them.
        writeFile(apps / "elsewhere.desktop", entry("Elsewhere", "/bin/true", "OnlyShowIn=NoSuchDesktop;\n"));
        writeFile(apps / "broken.desktop", "this is no desktop entry\n");
        writeFile(apps / "unnamed.desktop", "[Desktop Entry]\nType=Application\nExec=/bin/true\n");
        writeFile(apps / "latin.desktop", entry("Caf\xe9", "/bin/true"));
        writeFile(apps / "caf\xe9.desktop", entry("Cafe", "/bin/true"));
        // Two applications for text, the first the default.
        writeFile(apps / "org.example.Recorder.desktop",
                  entry("Recorder", record.string() + " %f", "MimeType=text/plain;\n"));
        writeFile(apps / "org.example.Viewer.desktop", entry("Viewer", "/bin/true %f", "MimeType=text/plain;\n"));
        writeFile(apps / "mimeapps.list",
                  "[Default Applications]\ntext/plain=org.example.Recorder.desktop\ninode/directory=quiet.desktop\n");
        // As the desktop's database tool writes it: GIO lists the applications of a type from it.
        writeFile(apps / "mimeinfo.cache",
                  "[MIME Cache]\ntext/plain=org.example.Recorder.desktop;org.example.Viewer.desktop;\n");
        fs::create_directory_symlink("/usr/share/mime", root / "data" / "mime");
        // Files that would leave a mark if they ran.
        const fs::path files = root / "files";
        writeFile(files / "run.sh", "#!/bin/sh\ntouch '" + (root / "ran").string() + "'\n");
        fs::permissions(files / "run.sh", fs::perms::owner_all);
        writeFile(files / "tool.desktop", entry("Tool", "touch " + (root / "ran").string()));
        fs::permissions(files / "tool.desktop", fs::perms::owner_all);
        fs::copy_file("/bin/true", files / "program");
        environment = std::make_unique<ScopedEnvironment>();
        environment->set("XDG_DATA_DIRS", (root / "data").string());
        environment->set("XDG_DATA_HOME", (root / "home").string());
    }
    // The suites after this one find the machine's data folders, its types among them.
    static void TearDownTestSuite() {
        environment.reset();
        fs::remove_all(root);
    }

    static fs::path counterEntry() { return root / "data" / "applications" / "counter.desktop"; }
    static fs::path launches() { return root / "launches.txt"; }
    static fs::path startupPageOpened() { return root / "startup-page-opened"; }

    static inline fs::path root;
    static inline std::unique_ptr<ScopedEnvironment> environment;
    LinuxAppCatalog catalog;
    SimAlerts alerts;
};

}  // namespace

TEST_F(DesktopEntries, TheCatalogueListsTheShownEntriesByTheirIdsTheUsersFirst) {
    std::map<AppId, std::optional<std::string>> names;
    for (const ListedApp& app : catalog.installedApps())
        names[app.appId] = app.name;
    names.erase("caf\xe9");  // listed or not: GIO's choice; the scan's test covers it
    std::vector<AppId> ids;
    for (const auto& [id, name] : names)
        ids.push_back(id);
    EXPECT_EQ(ids, (std::vector<AppId>{"counter", "latin", "mine", "org.example.Recorder", "org.example.Viewer",
                                       "org.example.Visible", "tools-nested", "unnamed"}));
    EXPECT_EQ(names["mine"], "Mine");
    EXPECT_EQ(names["latin"], std::nullopt) << "a name that is not UTF-8 cannot be read";
    EXPECT_EQ(names["unnamed"], std::nullopt) << "never GIO's \"Unnamed\"";

    const auto path = catalog.pathForAppId("org.example.Visible");
    ASSERT_TRUE(path);
    EXPECT_EQ(*path, (root / "data" / "applications" / "org.example.Visible.desktop").string());
    EXPECT_FALSE(catalog.pathForAppId("absent"));
}

TEST_F(DesktopEntries, TheFileManagerIsTheDefaultForFoldersAndTheScanAddsItWhenHidden) {
    const std::optional<ListedApp> files = catalog.fileManager();
    ASSERT_TRUE(files);
    EXPECT_EQ(files->appId, "quiet");
    EXPECT_EQ(files->name, "Quiet");
    EXPECT_EQ(files->path, (root / "data" / "applications" / "quiet.desktop").string());

    SimLog log;
    const IcuTextServices text;
    const InstalledAppsScanner scanner(catalog, text);
    std::vector<std::string> names;
    for (const InstalledApp& app : scanner.scan())
        names.push_back(app.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Counter", "Mine", "Nested", "Quiet", "Recorder", "Viewer", "Visible"}));
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_NE(log.lines()[0].find("application entries were left out"), std::string::npos) << log.lines()[0];
    EXPECT_NE(log.lines()[0].find("latin.desktop"), std::string::npos) << log.lines()[0];
    EXPECT_NE(log.lines()[0].find("unnamed.desktop"), std::string::npos) << log.lines()[0];
}

TEST_F(DesktopEntries, AnEntryFileNamesItsApplication) {
    const auto info = catalog.appInfo((root / "data" / "applications" / "tools" / "nested.desktop").string());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->appId, "tools-nested");
    EXPECT_EQ(info->localizedDisplayName, "Nested");
    EXPECT_FALSE(catalog.appInfo((root / "append.sh").string()));
}

TEST_F(DesktopEntries, LaunchingAnEntryStartsItOnce) {
    fs::remove(launches());
    SimRunningApps apps;
    std::vector<Pid> started;
    LinuxLauncher launcher(apps, alerts, [&started](std::shared_ptr<ChildProcess> child, const Path&) {
        started.push_back(child->pid());
    });
    std::optional<Result<void>> outcome;
    launcher.launch(counterEntry().string(), true, [&outcome](Result<void> r) { outcome = r; });
    ASSERT_TRUE(outcome);
    EXPECT_TRUE(outcome->ok());
    ASSERT_EQ(started.size(), 1u);
    // Once the one process has ended, everything it was going to write is written.
    ASSERT_TRUE(waitUntil([&] { return hasEnded(started.front()); }));
    EXPECT_EQ(lineCount(launches()), 1);
}

TEST_F(DesktopEntries, ARunningApplicationIsBroughtForwardNotStartedAgain) {
    fs::remove(launches());
    SimRunningApps apps;
    RunningApp counter;
    counter.pid = 4242;
    counter.appId = "counter";
    apps.launch(counter);
    std::vector<Pid> started;
    LinuxLauncher launcher(apps, alerts, [&started](std::shared_ptr<ChildProcess> child, const Path&) {
        started.push_back(child->pid());
    });
    bool ok = false;
    launcher.launch(counterEntry().string(), true, [&ok](Result<void> r) { ok = r.ok(); });
    EXPECT_TRUE(ok);
    EXPECT_EQ(apps.activations(), (std::vector<Pid>{4242}));
    // A launch starts its process before it reports.
    EXPECT_TRUE(started.empty());
    EXPECT_FALSE(fs::exists(launches()));
}

TEST_F(DesktopEntries, AnEntryInstalledOrRemovedIsToldAndReadAgain) {
    const auto has = [this](const std::string& id) {
        const std::vector<DesktopEntryFacts> facts = catalog.entryFacts();
        return std::ranges::find(facts, id, &DesktopEntryFacts::id) != facts.end();
    };
    ASSERT_FALSE(has("late"));  // a reading arms the watch
    int told = 0;
    Subscription changes = catalog.onEntriesChanged([&told] { ++told; });
    const fs::path late = root / "home" / "applications" / "late.desktop";
    writeFile(late, entry("Late", "/bin/true", "NoDisplay=true\n"));
    const auto spinUntil = [](const std::function<bool()>& done) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done() && std::chrono::steady_clock::now() < end)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    };
    ASSERT_TRUE(spinUntil([&] { return told > 0; }));
    EXPECT_TRUE(has("late"));
    told = 0;
    fs::remove(late);
    ASSERT_TRUE(spinUntil([&] { return told > 0; }));
    EXPECT_FALSE(has("late"));
}

TEST_F(DesktopEntries, EveryEntryButHiddenOnesTellsHowToRecogniseItsWindows) {
    const auto facts = catalog.entryFacts();
    const auto quiet = std::ranges::find(facts, std::string("quiet"), &DesktopEntryFacts::id);
    ASSERT_NE(quiet, facts.end());
    EXPECT_EQ(quiet->startupWmClass, "QuietWindow");
    EXPECT_EQ(quiet->programs, (std::vector<std::string>{(root / "record.sh").string(), "/usr/bin/env"}));
    const auto counter = std::ranges::find(facts, std::string("counter"), &DesktopEntryFacts::id);
    ASSERT_NE(counter, facts.end());
    EXPECT_FALSE(counter->startupWmClass);
    EXPECT_EQ(counter->programs, (std::vector<std::string>{(root / "append.sh").string()}));
    EXPECT_EQ(std::ranges::find(facts, std::string("gone"), &DesktopEntryFacts::id), facts.end());
}

TEST_F(DesktopEntries, ALaunchHoldsWhatItStartedFromTheMomentItExists) {
    fs::remove(launches());
    SimRunningApps apps;
    std::vector<std::pair<std::shared_ptr<ChildProcess>, Path>> started;
    LinuxLauncher launcher(apps, alerts, [&started](std::shared_ptr<ChildProcess> child, const Path& entry) {
        started.emplace_back(std::move(child), entry);
    });
    launcher.launch(counterEntry().string(), true, [](Result<void>) {});
    ASSERT_EQ(started.size(), 1u);
    ChildProcess& child = *started.front().first;
    EXPECT_EQ(started.front().second, counterEntry().string());
    EXPECT_TRUE(waitUntil([] { return lineCount(launches()) >= 1; }));

    // Ended, it stays our child until we reap it: no other process can take its id meanwhile.
    ASSERT_TRUE(child.endsBy(std::chrono::steady_clock::now() + std::chrono::seconds(60)));
    const auto stat = readProcessStat("/proc/" + std::to_string(child.pid()) + "/stat");
    ASSERT_TRUE(stat);
    EXPECT_EQ(stat->parent, getpid());
    EXPECT_TRUE(child.reapIfEnded());
    EXPECT_FALSE(child.signal(SIGTERM)) << "nothing is signalled once it is gone";
}

TEST_F(DesktopEntries, StartupApplicationsOpenOnlyInTheRunningDesktopsOwnPage) {
    SimRunningApps apps;
    LinuxLauncher launcher(apps, alerts);
    ScopedEnvironment desktop;
    // Openbox has no such page, and MATE's is not installed here.
    for (const char* name : {"openbox", "MATE"}) {
        desktop.set("XDG_CURRENT_DESKTOP", name);
        EXPECT_FALSE(launcher.canOpenSystemSettings(SystemSettingsPage::loginItems)) << name;
        EXPECT_FALSE(launcher.openSystemSettings(SystemSettingsPage::loginItems)) << name;
    }
    desktop.set("XDG_CURRENT_DESKTOP", std::nullopt);
    EXPECT_FALSE(launcher.canOpenSystemSettings(SystemSettingsPage::loginItems));

    desktop.set("XDG_CURRENT_DESKTOP", "X-Generic:xfce");
    EXPECT_TRUE(launcher.canOpenSystemSettings(SystemSettingsPage::loginItems));
    EXPECT_FALSE(launcher.canOpenSystemSettings(SystemSettingsPage::filesPrivacy));
    EXPECT_TRUE(launcher.openSystemSettings(SystemSettingsPage::loginItems));
    EXPECT_TRUE(waitUntil([] { return fs::exists(startupPageOpened()); }));
}

TEST_F(DesktopEntries, AFileThatIsNoEntryFailsToLaunch) {
    SimRunningApps apps;
    LinuxLauncher launcher(apps, alerts);
    std::optional<Result<void>> outcome;
    launcher.launch((root / "append.sh").string(), true, [&outcome](Result<void> r) { outcome = r; });
    ASSERT_TRUE(outcome);
    EXPECT_FALSE(outcome->ok());
}

TEST_F(DesktopEntries, AFileGoesToItsTypesDefaultApplicationFirstThenEveryOtherThatOpensIt) {
    SimRunningApps apps;
    LinuxLauncher launcher(apps, alerts);
    const Path script = (root / "files" / "run.sh").string();
    const std::optional<InstalledApp> preferred = launcher.defaultAppFor(script);
    ASSERT_TRUE(preferred) << "a script is text: the text default opens it";
    EXPECT_EQ(preferred->appId, "org.example.Recorder");
    EXPECT_EQ(preferred->name, "Recorder");
    std::vector<AppId> all;
    for (const InstalledApp& app : launcher.appsFor(script))
        all.push_back(app.appId);
    EXPECT_NE(std::ranges::find(all, "org.example.Viewer"), all.end());
    EXPECT_FALSE(launcher.defaultAppFor((root / "files" / "program").string())) << "nothing opens a program here";
}

TEST_F(DesktopEntries, OpeningNeverRunsAScriptAProgramOrAnEntryButHandsItToAnApplication) {
    fs::remove(root / "opened.txt");
    SimRunningApps apps;
    std::vector<Pid> started;
    LinuxLauncher launcher(apps, alerts, [&started](std::shared_ptr<ChildProcess> child, const Path&) {
        started.push_back(child->pid());
    });
    const Path script = (root / "files" / "run.sh").string();
    const Path entryFile = (root / "files" / "tool.desktop").string();
    ASSERT_TRUE(launcher.open(script));
    ASSERT_TRUE(launcher.open(entryFile));
    EXPECT_FALSE(launcher.open((root / "files" / "program").string())) << "no application: told, not run";
    ASSERT_EQ(started.size(), 2u);
    for (const Pid pid : started)
        ASSERT_TRUE(waitUntil([pid] { return hasEnded(pid); }));
    std::ifstream opened(root / "opened.txt");
    std::vector<std::string> lines;
    for (std::string line; std::getline(opened, line);)
        lines.push_back(line);
    // The two run side by side: either may write first.
    std::ranges::sort(lines);
    std::vector<std::string> expected{script, entryFile};
    std::ranges::sort(expected);
    EXPECT_EQ(lines, expected);
    EXPECT_FALSE(fs::exists(root / "ran"));
}

// As file managers have it: an entry from outside the application folders, dropped on a
// dock from a download, runs only once the user marked it executable.
TEST_F(DesktopEntries, AnEntryFromOutsideTheApplicationFoldersRunsOnlyWhenMarkedExecutable) {
    const fs::path entryFile = root / "files" / "downloaded.desktop";
    writeFile(entryFile, entry("Downloaded", "touch " + (root / "ran").string()));
    fs::permissions(entryFile, fs::perms::owner_read | fs::perms::owner_write);
    SimRunningApps apps;
    std::vector<Pid> started;
    LinuxLauncher launcher(apps, alerts, [&started](std::shared_ptr<ChildProcess> child, const Path&) {
        started.push_back(child->pid());
    });
    alerts.answerWith(1);
    std::optional<Result<void>> outcome;
    launcher.launch(entryFile.string(), true, [&outcome](Result<void> r) { outcome = std::move(r); });
    launcher.openWith({(root / "files" / "run.sh").string()}, entryFile.string());
    ASSERT_TRUE(outcome);
    EXPECT_FALSE(outcome->ok());
    EXPECT_TRUE(started.empty()) << "nothing ran";
    ASSERT_TRUE(quillbern::testing::spinEventsUntil([this] { return alerts.shown().size() == 2; }));
    EXPECT_EQ(alerts.shown()[0].message, "“Downloaded” was not opened");
    EXPECT_THAT(alerts.shown()[0].informative, ::testing::HasSubstr("not marked as executable"));
    EXPECT_THAT(alerts.shown()[0].informative, ::testing::EndsWith(entryFile.string()));

    fs::permissions(entryFile, fs::perms::owner_exec, fs::perm_options::add);
    launcher.launch(entryFile.string(), true, [&outcome](Result<void> r) { outcome = std::move(r); });
    EXPECT_TRUE(outcome->ok());
    ASSERT_EQ(started.size(), 1u) << "marked executable, it runs";
    ASSERT_TRUE(waitUntil([&] { return hasEnded(started.front()); }));
    EXPECT_TRUE(fs::exists(root / "ran"));
    fs::remove(root / "ran");
}

namespace {

// Just enough of a file manager: it takes ShowItems and keeps what it was asked to show.
class FakeFileManager final : public QDBusVirtualObject {
public:
    explicit FakeFileManager(QDBusConnection connection) : connection_(std::move(connection)) {
        connection_.registerVirtualObject(QStringLiteral("/org/freedesktop/FileManager1"), this);
        connection_.interface()->registerService(QStringLiteral("org.freedesktop.FileManager1"));
    }
    ~FakeFileManager() override { connection_.unregisterObject(QStringLiteral("/org/freedesktop/FileManager1")); }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != QStringLiteral("ShowItems")) return false;
        shown += message.arguments().value(0).toStringList();
        connection.send(message.createReply());
        return true;
    }
    QString introspect(const QString&) const override { return {}; }

    QStringList shown;

private:
    QDBusConnection connection_;
};

}  // namespace

TEST_F(DesktopEntries, ShowingAFileAsksTheFileManagerOnTheBusElseOpensItsFolderAndOutlivesTheBus) {
    std::optional<quillbern::testing::PrivateBus> bus(std::in_place);
    ASSERT_TRUE(bus->isRunning());
    // GIO takes the session bus from the environment once, at its first use in the process.
    ScopedEnvironment sessionBus;
    sessionBus.set("DBUS_SESSION_BUS_ADDRESS", bus->address().toStdString());
    // Held from the start, so the launcher's requests go through this very connection: GIO
    // keeps its bus only while someone holds it, and a new one would end the process again.
    GDBusConnection* gio = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    ASSERT_NE(gio, nullptr);
    SimRunningApps apps;
    LinuxLauncher launcher(apps, alerts);
    const Path script = (root / "files" / "run.sh").string();
    const Path entryFile = (root / "files" / "tool.desktop").string();
    const auto uri = [](const Path& path) { return QUrl::fromLocalFile(QString::fromStdString(path)).toString(); };
    {
        FakeFileManager manager(bus->connect(QStringLiteral("files")));
        launcher.reveal({script, entryFile});
        ASSERT_TRUE(quillbern::testing::spinEventsUntil([&] { return !manager.shown.isEmpty(); }));
        EXPECT_EQ(manager.shown, (QStringList{uri(script), uri(entryFile)})) << "every item in one request";
    }
    // Nobody owns the name now: the folder that holds it opens with the file manager.
    fs::remove(root / "opened.txt");
    launcher.reveal({script});
    ASSERT_TRUE(quillbern::testing::spinEventsUntil([] { return lineCount(root / "opened.txt") >= 1; }));
    std::ifstream opened(root / "opened.txt");
    std::string line;
    std::getline(opened, line);
    EXPECT_EQ(line, (root / "files").string());

    // The session bus goes away: GIO tells its connection's end on the main loop, where by
    // default it would end the whole process.
    bool closed = false;
    const gulong handler = g_signal_connect(
        gio, "closed",
        G_CALLBACK(+[](GDBusConnection*, gboolean, GError*, gpointer seen) { *static_cast<bool*>(seen) = true; }),
        &closed);
    bus.reset();
    EXPECT_TRUE(quillbern::testing::spinEventsUntil([&] { return closed; }));
    QCoreApplication::processEvents();
    g_signal_handler_disconnect(gio, handler);
    g_object_unref(gio);
}

TEST(LinuxProcesses, AMissingProgramIsAFailure) {
    LinuxProcesses processes;
    const auto spawned = processes.spawnDetached({"/nonexistent/quillbern-missing", {}, {}});
    ASSERT_FALSE(spawned);
    EXPECT_EQ(spawned.error().code, ENOENT);
    const auto ran = processes.run({"/nonexistent/quillbern-missing", {}, {}}, 1.0);
    EXPECT_FALSE(ran.launched);
    EXPECT_TRUE(ran.error);
}

TEST(LinuxProcesses, ArgumentsAndEnvironmentReachTheChildAsTheyStand) {
    const fs::path dir = fs::temp_directory_path() / ("quillbern-spawn-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path out = dir / "it's \"here\" $HOME";
    LinuxProcesses processes;
    ASSERT_TRUE(processes.spawnDetached(
        {"/bin/sh", {"-c", "printf '%s|%s' \"$0\" \"$LANGUAGE\" > \"$0\"", out.string()}, {{"LANGUAGE", "de"}}}));
    ASSERT_TRUE(waitUntil([&out] { return fs::exists(out) && fs::file_size(out) > 0; }));
    std::ifstream in(out);
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, out.string() + "|de");
    fs::remove_all(dir);
}

TEST(LinuxProcesses, RunReportsTheExitStatusAndEndsAChildAtTheLimit) {
    LinuxProcesses processes;
    const auto exited = processes.run({"/bin/sh", {"-c", "exit 3"}, {}}, 5.0);
    EXPECT_TRUE(exited.launched);
    EXPECT_EQ(exited.exitStatus, 3);
    const auto start = std::chrono::steady_clock::now();
    const auto slow = processes.run({"/bin/sleep", {"30"}, {}}, 0.2);
    EXPECT_TRUE(slow.timedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(LinuxProcesses, AChildHasItsWholeLimitAndOneThatIgnoresTerminationIsEndedSoonAfter) {
    LinuxProcesses processes;
    const auto late = processes.run({"/bin/sh", {"-c", "sleep 1.6; exit 4"}, {}}, 2.0);
    EXPECT_FALSE(late.timedOut) << "ending at 1.6 s of a 2 s limit, it was ended";
    EXPECT_EQ(late.exitStatus, 4);

    const auto start = std::chrono::steady_clock::now();
    // An ignored signal stays ignored across exec.
    const auto stubborn = processes.run({"/bin/sh", {"-c", "trap '' TERM; exec sleep 30"}, {}}, 1.0);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(stubborn.timedOut);
    EXPECT_FALSE(stubborn.exitStatus);
    EXPECT_GE(took, std::chrono::milliseconds(1000)) << "the whole limit is the child's";
    EXPECT_LT(took, std::chrono::milliseconds(1500)) << "ending it takes a moment, not another limit";
}

TEST(LinuxAppProcess, KnowsItsProgramAndAsksTheLoopToQuit) {
    int quits = 0;
    LinuxAppProcess process([&quits] { ++quits; });
    EXPECT_TRUE(process.executablePath().ends_with("/linux_tests"));
    process.quit();
    EXPECT_EQ(quits, 1);
}
