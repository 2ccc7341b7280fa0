#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>

#include "core/model/StoredProfiles.h"
#include "core/settings/SettingsServices.h"
#include "shell/ShellWorld.h"
#include "sim/SimDockWorld.h"
#include "ui/settings/SettingsView.h"
#include "ui/shell/QtSettingsWindow.h"

using namespace quillbern;

namespace {

// The whole program's shell on the simulation, launched, as the Settings tests run it; with
// the given number of docks, else the one a new user has.
struct SettingsWorld {
    explicit SettingsWorld(int docks = 0) {
        shell.world.defaults.set(AppShell::kOnboardedKey, true);
        std::vector<Profile> stored;
        for (int n = 1; n <= docks; ++n)
            stored.push_back(simDock(n, kAllDockEdges[std::size_t(n) % kAllDockEdges.size()], DisplayAssignment::all(),
                                     std::size_t(n)));
        if (docks > 0) shell.world.defaults.setData("profiles.v1", StoredProfiles::encode(stored).value());
        shell.launch();
    }
    ~SettingsWorld() { shell.world.runUntilIdle(); }

    std::unique_ptr<QtSettingsWindow> makeWindow() {
        ShellWindowContext context{.screens = shell.world.screens,
                                   .input = shell.world.input,
                                   .desktopSpace =
                                       [] {
                                           return DesktopSpace(RectTL{0, 0, 1920, 1080});
                                       },
                                   .openSettings = [] {},
                                   .quit = [] {}};
        return std::make_unique<QtSettingsWindow>(std::move(context), settingsServicesOf(*shell.shell));
    }

    testing::ShellWorld shell;
};

// Paints the whole window once, as the screen would show it.
void paint(QWidget& window, QImage& frame) {
    frame.fill(Qt::transparent);
    QPainter painter(&frame);
    window.render(&painter);
}

// The first "Settings…" of a run: the window made, laid out, shown and painted.
void SettingsOpenedFirst(benchmark::State& state) {
    SettingsWorld world;
    QImage frame(940, 780, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        std::unique_ptr<QtSettingsWindow> settings = world.makeWindow();
        settings->open();
        paint(*settings->window(), frame);
        state.PauseTiming();
        settings.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}
BENCHMARK(SettingsOpenedFirst)->Unit(benchmark::kMillisecond);

// Opened again after closing: the kept window shown and painted.
void SettingsReopened(benchmark::State& state) {
    SettingsWorld world;
    std::unique_ptr<QtSettingsWindow> settings = world.makeWindow();
    settings->open();
    QImage frame(940, 780, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        state.PauseTiming();
        settings->window()->close();
        state.ResumeTiming();
        settings->open();
        paint(*settings->window(), frame);
    }
}
BENCHMARK(SettingsReopened)->Unit(benchmark::kMillisecond);

// Another section chosen in the open window: its pane made, the one before destroyed, and
// the window painted.
void SettingsSectionSwitched(benchmark::State& state) {
    SettingsWorld world;
    std::unique_ptr<QtSettingsWindow> settings = world.makeWindow();
    settings->open();
    QImage frame(940, 780, QImage::Format_ARGB32_Premultiplied);
    std::size_t next = 0;
    for (auto _ : state) {
        next = (next + 1) % settingsSections().size();
        settings->view()->select(settingsSections()[next].section);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        paint(*settings->window(), frame);
    }
}
BENCHMARK(SettingsSectionSwitched)->Unit(benchmark::kMillisecond);

// One section chosen after General (General itself after Appearance): its pane made, laid out
// and painted (the argument is the section's place in the sidebar).
void SettingsPaneChosen(benchmark::State& state) {
    SettingsWorld world;
    std::unique_ptr<QtSettingsWindow> settings = world.makeWindow();
    settings->open();
    QImage frame(940, 780, QImage::Format_ARGB32_Premultiplied);
    const SettingsSection section = settingsSections().at(static_cast<std::size_t>(state.range(0))).section;
    const SettingsSection before =
        section == SettingsSection::general ? SettingsSection::appearance : SettingsSection::general;
    for (auto _ : state) {
        state.PauseTiming();
        settings->view()->select(before);
        state.ResumeTiming();
        settings->view()->select(section);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        paint(*settings->window(), frame);
    }
    state.SetLabel(std::string(infoOf(section).rawValue));
}
// General, Appearance, Hover previews, Permissions.
BENCHMARK(SettingsPaneChosen)->Arg(0)->Arg(2)->Arg(3)->Arg(4)->Unit(benchmark::kMillisecond);

// The Docks section chosen in the open window with ten docks: the pane made with its rows,
// the one before destroyed, the window painted.
void SettingsDocksChosen(benchmark::State& state) {
    SettingsWorld world(10);
    std::unique_ptr<QtSettingsWindow> settings = world.makeWindow();
    settings->open();
    QImage frame(940, 780, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        settings->view()->select(SettingsSection::docks);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        paint(*settings->window(), frame);
        state.PauseTiming();
        settings->view()->select(SettingsSection::general);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}
BENCHMARK(SettingsDocksChosen)->Unit(benchmark::kMillisecond);

// Opened again after closing on the Docks section with ten docks: the kept window and pane
// shown and painted.
void SettingsReopenedOnDocks(benchmark::State& state) {
    SettingsWorld world(10);
    std::unique_ptr<QtSettingsWindow> settings = world.makeWindow();
    settings->open();
    settings->view()->select(SettingsSection::docks);
    QImage frame(940, 780, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        state.PauseTiming();
        settings->window()->close();
        state.ResumeTiming();
        settings->open();
        paint(*settings->window(), frame);
    }
}
BENCHMARK(SettingsReopenedOnDocks)->Unit(benchmark::kMillisecond);

}  // namespace
