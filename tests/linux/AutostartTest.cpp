#include <glib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>

#include "core/windows/LoginItem.h"
#include "linux/freedesktop/LinuxLoginService.h"
#include "sim/SimDefaults.h"
#include "sim/SimLauncher.h"
#include "sim/SimLocalizer.h"
#include "sim/SimLog.h"
#include "support/ScopedEnvironment.h"

namespace quillbern {
namespace {

namespace fs = std::filesystem;

// A configuration folder of the test's own.
class Autostart : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        directory =
            fs::temp_directory_path() / ("quillbern-autostart-" + std::to_string(::getpid()) + "-" + info->name());
        fs::remove_all(directory);
        fs::create_directories(directory);
        environment.set("XDG_CONFIG_HOME", (directory / "config").string());
    }
    void TearDown() override { fs::remove_all(directory); }

    // An installed program for the entry to start.
    std::string program() const {
        const fs::path path = directory / "bin" / "quillbern";
        if (!fs::exists(path)) {
            fs::create_directories(path.parent_path());
            std::ofstream(path) << "#!/bin/sh\n";
            fs::permissions(path, fs::perms::owner_all);
        }
        return path.string();
    }

    fs::path entryPath() const { return directory / "config" / "autostart" / "quillbern.desktop"; }
    std::string entryText() const {
        std::ifstream in(entryPath());
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void writeEntry(std::string_view text) const {
        fs::create_directories(entryPath().parent_path());
        std::ofstream(entryPath()) << text;
    }

    fs::path directory;
    ScopedEnvironment environment;
    SimLog log;
};

// The program an entry's Exec line runs, read as desktops read it.
std::string programOf(const std::string& entryText) {
    GKeyFile* file = g_key_file_new();
    EXPECT_TRUE(g_key_file_load_from_data(file, entryText.c_str(), entryText.size(), G_KEY_FILE_NONE, nullptr));
    gchar* exec = g_key_file_get_string(file, "Desktop Entry", "Exec", nullptr);
    g_key_file_free(file);
    gchar** argv = nullptr;
    gint argc = 0;
    const bool parsed = exec && g_shell_parse_argv(exec, &argc, &argv, nullptr);
    g_free(exec);
    if (!parsed) return "<unreadable>";
    std::string program = argc == 1 ? argv[0] : "<" + std::to_string(argc) + " arguments>";
    g_strfreev(argv);
    // The field code that stands for a percent sign.
    for (std::size_t at = program.find("%%"); at != std::string::npos; at = program.find("%%", at + 1))
        program.erase(at, 1);
    return program;
}

TEST_F(Autostart, TheEntryAppearsAndDisappearsInTheUsersConfiguration) {
    LinuxLoginService service(program());
    EXPECT_EQ(service.entry(), entryPath());
    EXPECT_EQ(service.status(), LoginStatus::notRegistered);

    ASSERT_TRUE(service.registerApp());
    EXPECT_EQ(service.status(), LoginStatus::enabled);
    EXPECT_EQ(entryText(), "[Desktop Entry]\nType=Application\nName=Quillbern\nExec=" + program() + "\n");
    // Written whole, with nothing left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(entryPath().parent_path()), fs::directory_iterator()), 1);

    ASSERT_TRUE(service.unregisterApp());
    EXPECT_FALSE(fs::exists(entryPath()));
    EXPECT_EQ(service.status(), LoginStatus::notRegistered);
    EXPECT_TRUE(service.unregisterApp());
}

TEST_F(Autostart, TheLoginSwitchWritesAndRemovesTheEntry) {
    SimDefaults defaults;
    SimLauncher launcher;
    LinuxLoginService service(program());
    LoginItem item(defaults, service, launcher);

    item.setEnabled(true);
    EXPECT_TRUE(fs::exists(entryPath()));
    EXPECT_EQ(item.status(), LoginStatus::enabled);
    EXPECT_EQ(defaults.boolValue("openAtLogin"), true);

    item.setEnabled(false);
    EXPECT_FALSE(fs::exists(entryPath()));
    EXPECT_EQ(item.status(), LoginStatus::notRegistered);
    EXPECT_EQ(defaults.boolValue("openAtLogin"), false);
    EXPECT_TRUE(launcher.openedPages().empty());
}

// The entry is ours: a link in its place is replaced or removed, never written through.
TEST_F(Autostart, ALinkInTheEntrysPlaceLeavesWhatItPointsToAsItWas) {
    const fs::path own = directory / "own.desktop";
    const std::string ownText = "[Desktop Entry]\nType=Application\nName=Mine\nExec=sh\n";
    std::ofstream(own) << ownText;
    SimDefaults defaults;
    SimLauncher launcher;
    LinuxLoginService service(program());
    LoginItem item(defaults, service, launcher);
    for (const bool on : {false, true}) {
        SCOPED_TRACE(on ? "switched on" : "switched off");
        fs::create_directories(entryPath().parent_path());
        fs::create_symlink(own, entryPath());
        item.refresh();
        EXPECT_EQ(item.status(), LoginStatus::enabled) << "read through the link";
        item.setEnabled(on);
        std::ifstream in(own);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), ownText);
        EXPECT_FALSE(fs::is_symlink(entryPath()));
        EXPECT_EQ(fs::exists(entryPath()), on);
        if (on) {
            EXPECT_EQ(programOf(entryText()), program());
        }
    }
}

TEST_F(Autostart, AnEntryTheDesktopSwitchedOffCountsAsDisabledUntilRegisteredAgain) {
    LinuxLoginService service(program());
    writeEntry("[Desktop Entry]\nType=Application\nName=Quillbern\nExec=sh\nHidden=true\n");
    EXPECT_EQ(service.status(), LoginStatus::notRegistered);
    writeEntry("[Desktop Entry]\nType=Application\nExec=sh\nX-GNOME-Autostart-enabled=false\n");
    EXPECT_EQ(service.status(), LoginStatus::notRegistered);
    writeEntry("[Desktop Entry]\nType=Application\nExec=sh\nHidden=false\nX-GNOME-Autostart-enabled=true\n");
    EXPECT_EQ(service.status(), LoginStatus::enabled) << "a program found through PATH";
    writeEntry("not an entry");
    EXPECT_EQ(service.status(), LoginStatus::notRegistered);

    writeEntry("[Desktop Entry]\nType=Application\nExec=sh\nHidden=true\n");
    ASSERT_TRUE(service.registerApp());
    EXPECT_EQ(service.status(), LoginStatus::enabled);
}

TEST_F(Autostart, AnEntryWhoseProgramIsGoneReadsAsNotFoundAndSwitchingOnWritesTheRunningProgram) {
    LinuxLoginService service(program());
    for (const std::string& exec : std::vector<std::string>{"/opt/moved/quillbern", "no-such-program-anywhere",
                                                            "\"" + directory.string() + "\"", "", "\"unclosed"}) {
        SCOPED_TRACE(exec);
        writeEntry("[Desktop Entry]\nType=Application\nExec=" + exec + "\n");
        EXPECT_EQ(service.status(), LoginStatus::notFound);
    }
    writeEntry("[Desktop Entry]\nType=Application\nExec=sh\nTryExec=/opt/moved/quillbern\n");
    EXPECT_EQ(service.status(), LoginStatus::notFound) << "the desktop skips an entry whose TryExec is missing";
    fs::permissions(program(), fs::perms::owner_read | fs::perms::owner_write);
    writeEntry("[Desktop Entry]\nType=Application\nExec=" + program() + "\n");
    EXPECT_EQ(service.status(), LoginStatus::notFound) << "a file that may not run";
    fs::permissions(program(), fs::perms::owner_all);
    EXPECT_EQ(service.status(), LoginStatus::enabled);

    SimDefaults defaults;
    SimLauncher launcher;
    writeEntry("[Desktop Entry]\nType=Application\nExec=/opt/moved/quillbern --start\n");
    defaults.set("openAtLogin", true);
    LoginItem item(defaults, service, launcher);
    EXPECT_EQ(item.status(), LoginStatus::notFound);
    item.refresh();
    EXPECT_EQ(defaults.boolValue("openAtLogin"), false) << "the switch shows what the desktop will do";
    item.setEnabled(true);
    EXPECT_EQ(item.status(), LoginStatus::enabled);
    EXPECT_EQ(programOf(entryText()), program());
    EXPECT_FALSE(item.lastError());
}

TEST_F(Autostart, AFolderThatCannotBeWrittenFailsTheSwitchWithAMessageInTheUsersWords) {
    SimLocalizer french;
    french.add("cannot create %@: %@", "impossible de créer %@ : %@");
    french.add("cannot replace %@: %@", "impossible de remplacer %@ : %@");
    french.add("cannot remove %@: %@", "impossible de supprimer %@ : %@");
    // A file where the autostart folder should be.
    fs::create_directories(directory / "config");
    std::ofstream(directory / "config" / "autostart") << "";
    LinuxLoginService service("/usr/bin/quillbern");
    const auto registered = service.registerApp();
    ASSERT_FALSE(registered);
    EXPECT_EQ(registered.error().domain, "posix");
    EXPECT_NE(registered.error().code, 0);

    SimDefaults defaults;
    SimLauncher launcher;
    LoginItem item(defaults, service, launcher);
    item.setEnabled(true);
    ASSERT_TRUE(item.lastError().has_value());
    // The system's own reason stays as the system gives it.
    EXPECT_THAT(*item.lastError(), ::testing::HasSubstr("(impossible de créer "));
    EXPECT_THAT(*item.lastError(), ::testing::HasSubstr("/config/autostart : Not a directory"));
    EXPECT_EQ(defaults.boolValue("openAtLogin"), false);
    EXPECT_TRUE(log.contains("Quillbern: login item — impossible de créer"));

    // A folder with something in it where the entry should be: it is neither replaced nor removed.
    fs::remove(directory / "config" / "autostart");
    fs::create_directories(entryPath() / "kept");
    EXPECT_THAT(service.registerApp().error().message, ::testing::StartsWith("impossible de remplacer "));
    EXPECT_THAT(service.unregisterApp().error().message, ::testing::StartsWith("impossible de supprimer "));
}

TEST_F(Autostart, TheProgramsPathSurvivesTheExecLinesQuoting) {
    for (const std::string program :
         {"/opt/quillbern/bin/quillbern", "/home/ann/My Apps/quillbern", "/tmp/it's \"here\"/quillbern",
          "/tmp/$HOME/`id`/back\\slash/quillbern", "/tmp/100%/%f/quillbern", "/tmp/tab\there/new\nline"}) {
        SCOPED_TRACE(program);
        ASSERT_TRUE(LinuxLoginService(program).registerApp());
        EXPECT_EQ(programOf(entryText()), program);
    }
    EXPECT_EQ(LinuxLoginService::execValue("/opt/My Apps/a$b"), "\"/opt/My Apps/a\\\\$b\"");
}

}  // namespace
}  // namespace quillbern
