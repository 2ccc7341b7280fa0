#include <gtest/gtest.h>
#include <map>

#include "linux/x11/AppMatching.h"

using namespace quillbern;

namespace {

// Entries as Debian and Flatpak install them.
AppMatcher debianDesktop() {
    return AppMatcher({
        {"org.gnome.Terminal", std::nullopt, {"gnome-terminal"}},
        {"org.gnome.Nautilus", std::nullopt, {"nautilus"}},
        {"firefox-esr", std::nullopt, {"/usr/lib/firefox-esr/firefox-esr"}},
        {"org.mozilla.firefox", std::nullopt, {"/usr/bin/flatpak"}},
        {"chromium", "chromium", {"/usr/bin/chromium"}},
        {"code", "Code", {"/usr/share/code/code"}},
        {"com.slack.Slack", "Slack", {"/usr/bin/flatpak"}},
        {"debian-xterm", std::nullopt, {"xterm"}},
        {"org.kde.konsole", std::nullopt, {"konsole"}},
        {"libreoffice-writer", "libreoffice-writer", {"libreoffice"}},
        {"libreoffice-calc", "libreoffice-calc", {"libreoffice"}},
        // The interpreters' own entries, hidden from menus.
        {"python3.11", std::nullopt, {"/usr/bin/python3.11"}, true},
        {"openjdk-17-java", std::nullopt, {"java"}, true},
        // A Python application started through its interpreter.
        {"org.example.Notes", std::nullopt, {"/usr/bin/python3.11"}},
        // A hidden helper that still names its window's class.
        {"org.example.Helper", "HelperWindow", {"/usr/libexec/example-helper"}, true},
        // A Tk script: its windows are all of class "Tk".
        {"org.example.Backup",
         std::nullopt,
         {"/usr/bin/python3"},
         false,
         "/usr/share/applications/org.example.Backup.desktop"},
        {"com.example.Paint", std::nullopt, {"/usr/bin/flatpak"}},
        // Snaps name their entries after the Snap and the application.
        {"firefox_firefox", std::nullopt, {"/snap/bin/firefox"}},
        {"mousepad", std::nullopt, {"mousepad"}},
    });
}

ProcessOrigin launchedAs(std::string file, Pid pid) {
    return {std::move(file), pid, std::nullopt, std::nullopt};
}

struct Case {
    const char* what;
    WindowFacts window;
    std::optional<std::string> expected;
};

}  // namespace

TEST(AppMatcher, RecognisesRealApplications) {
    const AppMatcher matcher = debianDesktop();
    const Case cases[] = {
        {"GTK application id wins over the class",
         {"org.gnome.Terminal",
          {},
          "gnome-terminal-server",
          "Gnome-terminal-server",
          10,
          "/usr/libexec/gnome-terminal-server"},
         "org.gnome.Terminal"},
        {"KDE desktop file, with its suffix",
         {{}, "org.kde.konsole.desktop", "konsole", "konsole", 11, "/usr/bin/konsole"},
         "org.kde.konsole"},
        {"Electron: StartupWMClass against the class, ignoring case",
         {{}, {}, "code", "Code", 12, "/usr/share/code/code"},
         "code"},
        {"Flatpak: StartupWMClass, though the process is the sandbox",
         {{}, {}, "slack", "Slack", 13, "/app/slack/slack"},
         "com.slack.Slack"},
        {"browser: entry id equal to the lower-cased class",
         {{}, {}, "Navigator", "firefox-esr", 14, "/usr/lib/firefox-esr/firefox-esr"},
         "firefox-esr"},
        {"Flatpak browser: the class is the last part of a reverse-DNS id",
         {{}, {}, "Navigator", "firefox", 15, "/app/lib/firefox/firefox"},
         "org.mozilla.firefox"},
        {"terminal without hints: the executable against Exec",
         {{}, {}, "xterm", "XTerm", 16, "/usr/bin/xterm"},
         "debian-xterm"},
        {"one program, several entries: StartupWMClass tells them apart",
         {{}, {}, "libreoffice", "libreoffice-calc", 17, "/usr/lib/libreoffice/program/soffice.bin"},
         "libreoffice-calc"},
        {"a declared id without an entry falls through to the class",
         {"org.example.Unknown", {}, "chromium", "Chromium", 18, "/usr/lib/chromium/chromium"},
         "chromium"},
        {"nothing matches", {{}, {}, "xclock", "XClock", 19, "/usr/bin/xclock"}, std::nullopt},
        {"a Python script without an entry is neither the interpreter nor another script",
         {{}, {}, "backup.py", "Backup.py", 20, "/usr/bin/python3.11"},
         std::nullopt},
        {"a Python application with an entry: by its class, not its interpreter",
         {{}, {}, "notes", "Notes", 21, "/usr/bin/python3.11"},
         "org.example.Notes"},
        {"a Java application without an entry",
         {{}, {}, "sun-awt-X11-XFramePeer", "org-example-Draw", 22, "/usr/lib/jvm/java-17-openjdk-amd64/bin/java"},
         std::nullopt},
        {"a hidden entry is no match by program",
         {{}, {}, "example-helper", "Example-helper", 23, "/usr/libexec/example-helper"},
         std::nullopt},
        {"a hidden entry still matches by StartupWMClass",
         {{}, {}, "helper", "HelperWindow", 24, "/usr/libexec/example-helper"},
         "org.example.Helper"},
        {"a script GIO launched as this very process: the entry it started",
         {{},
          {},
          "tk",
          "Tk",
          30,
          "/usr/bin/python3.11",
          launchedAs("/usr/share/applications/org.example.Backup.desktop", 30)},
         "org.example.Backup"},
        {"a launched entry outside the data folders is known by its file name",
         {{},
          {},
          "tk",
          "Tk",
          31,
          "/usr/bin/python3.11",
          launchedAs("/home/ann/Desktop/org.example.Backup.desktop", 31)},
         "org.example.Backup"},
        {"an editor started in a launched terminal inherits the terminal's launch, which is not its own",
         {{},
          {},
          "mousepad",
          "Mousepad",
          32,
          "/usr/bin/mousepad",
          launchedAs("/usr/share/applications/debian-xterm.desktop", 16)},
         "mousepad"},
        {"an inherited launch names nothing",
         {{},
          {},
          "tk",
          "Tk",
          33,
          "/usr/bin/python3.11",
          launchedAs("/usr/share/applications/org.example.Backup.desktop", 9)},
         std::nullopt},
        {"a Flatpak sandbox names its application where the window names none known",
         {{},
          {},
          "paint",
          "Paint-main",
          34,
          "/app/bin/paint",
          {std::nullopt, std::nullopt, "com.example.Paint", std::nullopt}},
         "com.example.Paint"},
        {"a Snap: the entry named after the Snap and its application",
         {{},
          {},
          "Navigator",
          "firefox",
          35,
          "/snap/firefox/4173/usr/lib/firefox/firefox",
          {std::nullopt, std::nullopt, std::nullopt, "firefox"}},
         "firefox_firefox"},
        {"a sandbox without an entry of its own falls through to the class",
         {{}, {}, "code", "Code", 36, "/app/code/code", {std::nullopt, std::nullopt, "com.example.Gone", std::nullopt}},
         "code"},
        {"the id a window declares still comes first",
         {"org.gnome.Nautilus",
          {},
          "tk",
          "Tk",
          37,
          "/usr/bin/python3.11",
          launchedAs("/usr/share/applications/org.example.Backup.desktop", 37)},
         "org.gnome.Nautilus"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(matcher.match(c.window), c.expected) << c.what;
}

TEST(AppMatcher, OurOwnLaunchesAreTheLastRung) {
    AppMatcher matcher = debianDesktop();
    const WindowFacts window{{}, {}, "xclock", "XClock", 42, "/usr/bin/xclock"};
    EXPECT_EQ(matcher.match(window), std::nullopt);
    matcher.rememberLaunch(42, "debian-xterm");
    EXPECT_EQ(matcher.match(window), "debian-xterm");
    // A hint on the window itself still comes first.
    const WindowFacts declared{"org.gnome.Nautilus", {}, "xclock", "XClock", 42, "/usr/bin/xclock"};
    EXPECT_EQ(matcher.match(declared), "org.gnome.Nautilus");
    matcher.forgetLaunch(42);
    EXPECT_EQ(matcher.match(window), std::nullopt);
}

TEST(AppMatcher, AbsoluteProgramsMatchOnlyTheirOwnFile) {
    const AppMatcher matcher({{"chromium", std::nullopt, {"/usr/bin/chromium"}}});
    EXPECT_EQ(matcher.match({{}, {}, {}, {}, 1, "/opt/other/chromium"}), std::nullopt);
    EXPECT_EQ(matcher.match({{}, {}, {}, {}, 1, "/usr/bin/chromium"}), "chromium");
}

TEST(AppMatcher, InterpretersAndLaunchersNeverMatchByTheirProgram) {
    for (const std::string executable :
         {"/usr/bin/python3", "/usr/bin/python3.11", "/usr/bin/perl", "/usr/bin/perl5.36.0", "/usr/bin/ruby3.1",
          "/usr/bin/node", "/usr/bin/nodejs", "/usr/lib/jvm/java-17-openjdk-amd64/bin/java", "/usr/bin/dash",
          "/usr/bin/bash", "/usr/bin/sh", "/usr/bin/env", "/usr/bin/flatpak", "/usr/bin/snap"}) {
        const std::string program = executable.substr(executable.rfind('/') + 1);
        const AppMatcher matcher({{"org.example.Script", std::nullopt, {program}}});
        EXPECT_EQ(matcher.match({{}, {}, "tool", "Tool-window", 1, executable}), std::nullopt) << executable;
    }
    // Only a version follows the interpreter's name.
    const AppMatcher matcher({{"org.example.Pythonista", std::nullopt, {"pythonista"}}});
    EXPECT_EQ(matcher.match({{}, {}, {}, {}, 1, "/usr/bin/pythonista"}), "org.example.Pythonista");
}

namespace {

// A table of processes as /proc would show them.
struct ProcessTable {
    std::map<Pid, ProcessFacts> processes;

    void add(Pid pid, std::optional<Pid> parent, std::optional<std::string> executable, ProcessOrigin origin = {}) {
        processes[pid] = ProcessFacts{pid, parent, std::move(executable), std::move(origin)};
    }
    ProcessLookup lookup() const {
        return [this](Pid pid) -> std::optional<ProcessFacts> {
            const auto found = processes.find(pid);
            return found == processes.end() ? std::nullopt : std::optional(found->second);
        };
    }
    std::optional<std::string> match(const AppMatcher& matcher, Pid pid) const {
        return matcher.matchWindowless(processes.at(pid), lookup());
    }
};

}  // namespace

TEST(AppMatcher, AProcessWithoutWindowsIsKnownByItselfElseByItsAncestors) {
    AppMatcher matcher = debianDesktop();
    ProcessTable table;
    // A session: a terminal with a shell that runs a helper, an editor's own helper, and a
    // launch whose launcher has ended.
    table.add(100, 1, "/usr/lib/systemd/systemd");
    table.add(110, 100, "/usr/bin/xterm");
    table.add(111, 110, "/usr/bin/bash");
    table.add(112, 111, "/usr/libexec/spell-checker");
    table.add(120, 111, "/usr/share/code/code");
    table.add(121, 120, "/usr/share/code/chrome_crashpad_handler");
    table.add(130, 100, "/usr/bin/python3.11", launchedAs("/usr/share/applications/org.example.Backup.desktop", 130));
    table.add(131, 130, "/usr/bin/rsync", launchedAs("/usr/share/applications/org.example.Backup.desktop", 130));
    table.add(140, 1, "/usr/bin/rsync", launchedAs("/usr/share/applications/org.example.Backup.desktop", 139));
    table.add(150, 100, "/usr/lib/other-tool");
    table.add(160, 100, "/app/libexec/paint-worker", {std::nullopt, std::nullopt, "com.example.Paint", std::nullopt});
    // A table that runs in a circle must still end.
    table.add(170, 171, "/usr/bin/a");
    table.add(171, 170, "/usr/bin/b");

    const struct {
        const char* what;
        Pid pid;
        std::optional<std::string> expected;
    } cases[] = {
        {"a program with an entry is its own application", 110, "debian-xterm"},
        {"a helper belongs to the nearest ancestor known, past the shell", 112, "debian-xterm"},
        {"the nearest ancestor wins over the ones above it", 121, "code"},
        {"the process a launch started", 130, "org.example.Backup"},
        {"a child of a launched process belongs to it", 131, "org.example.Backup"},
        {"a launch it descends from names it though its launcher ended", 140, "org.example.Backup"},
        {"its sandbox names it", 160, "com.example.Paint"},
        {"nothing known up to the session", 150, std::nullopt},
        {"a circle of parents ends", 170, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(table.match(matcher, c.pid), c.expected) << c.what;

    matcher.rememberLaunch(150, "org.gnome.Nautilus");
    EXPECT_EQ(table.match(matcher, 150), "org.gnome.Nautilus") << "our own launch, before its ancestors";
    EXPECT_EQ(matcher.matchWindowless(table.processes.at(112), {}), std::nullopt) << "no ancestors to look at";
}
