// The file palette over a home on disk, read by the program's own threads and main loop.
#include <unistd.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QListView>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "core/foundation/Clock.h"
#include "core/palettes/FileSearchEngine.h"
#include "core/palettes/FileSearchState.h"
#include "core/platform/SystemThreads.h"
#include "linux/freedesktop/LinuxFileSystem.h"
#include "linux/icu/IcuTextServices.h"
#include "linux/qt/QtRunLoop.h"
#include "sim/SimSystemAppearance.h"
#include "support/ScopedEnvironment.h"
#include "ui/foundation/QtIcons.h"
#include "ui/palettes/FileSearchView.h"

namespace quillbern {
namespace {

namespace fs = std::filesystem;

// The text of the label of that name the view shows; empty when it shows none.
QString shownText(const QWidget& view, const QString& name) {
    for (const QLabel* label : view.findChildren<QLabel*>(name)) {
        if (label->isVisibleTo(&view)) return label->text();
    }
    return {};
}

TEST(FilePaletteOnDisk, AnEmptyUserFolderSaysSoAndAFullOneListsItsItems) {
    const fs::path home = fs::temp_directory_path() / ("quillbern-palette-" + std::to_string(::getpid()));
    fs::remove_all(home);
    fs::create_directories(home / "Desktop");
    fs::create_directories(home / "Downloads");
    std::ofstream(home / "Downloads" / "notes.txt") << "x";
    ScopedEnvironment environment;
    environment.set("HOME", home.string());
    environment.set("XDG_CONFIG_HOME", (home / ".config").string());

    QtRunLoop loop;
    SystemThreads threads;
    LinuxFileSystem files;
    IcuTextServices text;
    QtIcons icons;
    SystemClock clock;
    SimSystemAppearance system;
    FileSearchEngine engine({.mainLoop = loop, .threads = threads, .files = files, .text = text});
    auto state = std::make_shared<FileSearchState>(
        FileSearchState::Ports{.mainLoop = loop, .engine = engine, .files = files, .text = text, .icons = icons},
        std::vector<Profile>{});
    FileSearchViewInputs inputs;
    inputs.state = state;
    inputs.text = &text;
    inputs.clock = &clock;
    FileSearchView view(std::move(inputs), system);
    view.show();

    // Enters the user's folder at that row of the palette's first level, as Return does.
    const auto enter = [&](std::size_t row) {
        state->goUp();
        state->move(static_cast<int>(row));
        state->enter(*state->selectedEntry());
        QDeadlineTimer deadline(5000);
        while (!state->levelEntries() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        // What the listing brought shows on the turn after.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents();
    };
    ASSERT_EQ(state->browseEntries().size(), 2u) << "Desktop and Downloads";
    enter(0);
    ASSERT_EQ(state->breadcrumb(), "Desktop");
    ASSERT_TRUE(state->levelEntries()) << "the listing arrived";
    EXPECT_EQ(view.shownContent(), FileListContent::empty);
    EXPECT_TRUE(shownText(view, QStringLiteral("emptyFolder")).startsWith(QStringLiteral("This folder is empty")));

    enter(1);
    ASSERT_EQ(state->breadcrumb(), "Downloads");
    EXPECT_EQ(view.shownContent(), FileListContent::level);
    ASSERT_NE(view.list(), nullptr);
    EXPECT_EQ(view.list()->model()->rowCount(), 1);
    fs::remove_all(home);
}

}  // namespace
}  // namespace quillbern
