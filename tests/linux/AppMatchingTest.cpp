#include <gtest/gtest.h>

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
    });
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
