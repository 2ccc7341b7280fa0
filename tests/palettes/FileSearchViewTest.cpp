// The file palette's view under the offscreen platform.
#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include "FileSearchWorld.h"
#include "sim/SimSystemAppearance.h"
#include "ui/palettes/ElidedLabel.h"
#include "ui/palettes/FileSearchView.h"
#include "ui/palettes/PaletteField.h"

using namespace quillbern;
using namespace quillbern::testing;

namespace {

QString textOf(const QWidget& view, const char* name) {
    for (const QLabel* label : view.findChildren<QLabel*>(QString::fromLatin1(name))) {
        if (label->isVisibleTo(&view)) return label->text();
    }
    return {};
}

// The simulation's icons stand for paths and cannot be drawn; these rows draw none.
struct NoIcons final : Icons {
    ImageHandle appIcon(const Path&) const override { return nullptr; }
    ImageHandle fileIcon(const Path&) const override { return nullptr; }
    ImageHandle runningAppIcon(Pid) const override { return nullptr; }
    ImageHandle genericAppIcon() const override { return nullptr; }
};

// A home with a folder of the given size and a folder with a long path, and the view over
// a fresh opening of the palette.
struct ViewWorld : FileSearchWorld {
    ViewWorld() {
        world.files.addDirectory("/home/u/Documents");
        world.files.setUserDirectory(UserDirectory::documents, "/home/u/Documents");
        world.files.addFile("/home/u/Documents/report.txt", day(1));
        world.files.addDirectory("/home/u/Documents/Locked");
        world.files.setUnreadable("/home/u/Documents/Locked");
        world.clock.setWallEpoch(day(3));
        state = std::make_shared<FileSearchState>(
            FileSearchState::Ports{
                .mainLoop = world.mainLoop, .engine = engine, .files = world.files, .text = world.text, .icons = icons},
            std::vector<Profile>{});
        FileSearchViewInputs inputs;
        inputs.state = state;
        inputs.text = &world.text;
        inputs.clock = &world.clock;
        inputs.activate = [this](const FileEntry& entry) { activated.push_back(entry.path); };
        inputs.picker = [this](const FileEntry& entry) { picked.push_back(entry.path); };
        inputs.onShapeChange = [this] { ++shapeChanges; };
        view = std::make_unique<FileSearchView>(std::move(inputs), system);
        view->resize(view->sizeHint());
        view->show();
    }
    void folderOf(int count) {
        world.files.addDirectory("/home/u/Documents/Many");
        for (int n = 0; n < count; ++n)
            world.files.addFile("/home/u/Documents/Many/f" + std::to_string(n), day(2));
        enter("/home/u/Documents/Many");
    }
    void enter(const Path& path) {
        state->enter({.path = path, .name = path.substr(path.rfind('/') + 1), .isFolder = true, .modified = {}});
        settle();
        view->resize(view->sizeHint());
        QApplication::processEvents();
    }
    int rows() const { return view->list() ? view->list()->model()->rowCount() : 0; }

    SimSystemAppearance system;
    NoIcons icons;
    std::shared_ptr<FileSearchState> state;
    std::unique_ptr<FileSearchView> view;
    std::vector<Path> activated, picked;
    int shapeChanges = 0;
};

}  // namespace

TEST(FileSearchView, EightRowsTakeTheirHeightAndANinthMakesA384PointScrollingArea) {
    ViewWorld eight;
    eight.folderOf(8);
    ASSERT_EQ(eight.rows(), 8);
    EXPECT_EQ(eight.view->list()->height(), 382);
    EXPECT_EQ(eight.view->list()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    ViewWorld nine;
    nine.folderOf(9);
    ASSERT_EQ(nine.rows(), 9);
    EXPECT_EQ(nine.view->list()->height(), 384);
    EXPECT_EQ(nine.view->list()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(nine.view->sizeHint().width(), 568);

    // Past the last visible row the list scrolls just enough to show the selection.
    QScrollBar* bar = nine.view->list()->verticalScrollBar();
    EXPECT_EQ(bar->value(), 0);
    for (int n = 0; n < 8; ++n)
        nine.state->move(+1);
    EXPECT_GT(bar->value(), 0);
}

TEST(FileSearchView, ALevelPast200ShowsItsFirst200AndTheFooter) {
    ViewWorld w;
    w.folderOf(250);
    EXPECT_EQ(w.rows(), 200);
    EXPECT_EQ(textOf(*w.view, "footer"), "Showing 200 of 250 items");
    EXPECT_EQ(w.view->shownContent(), FileListContent::level);
}

TEST(FileSearchView, TheBreadcrumbLosesItsStartFirst) {
    ViewWorld w;
    EXPECT_EQ(w.view->shownBreadcrumb(), "") << "no breadcrumb at the top level";
    Path path = "/home/u/Documents";
    for (const char* folder : {"Alpha-folder-with-a-long-name", "Beta-folder-with-a-long-name",
                               "Gamma-folder-with-a-long-name", "Delta-folder-with-a-long-name", "Innermost"}) {
        path += std::string("/") + folder;
        w.world.files.addDirectory(path);
    }
    w.enter("/home/u/Documents");
    Path entered = "/home/u/Documents";
    for (const char* folder : {"Alpha-folder-with-a-long-name", "Beta-folder-with-a-long-name",
                               "Gamma-folder-with-a-long-name", "Delta-folder-with-a-long-name", "Innermost"}) {
        entered += std::string("/") + folder;
        w.enter(entered);
    }
    const QString shown = w.view->shownBreadcrumb();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("…"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("Innermost"))) << shown.toStdString();
}

TEST(FileSearchView, ShapeChangesReachThePaletteButSelectionAndTypingWithinTheSameResultsDoNot) {
    ViewWorld w;
    const int atStart = w.shapeChanges;
    w.state->move(+1);
    EXPECT_EQ(w.shapeChanges, atStart);
    w.enter("/home/u/Documents");
    EXPECT_GT(w.shapeChanges, atStart);

    const int browsing = w.shapeChanges;
    w.state->setQuery("rep");
    w.settle();
    EXPECT_GT(w.shapeChanges, browsing);
    const int searching = w.shapeChanges;
    w.state->setQuery("repo");
    EXPECT_EQ(w.shapeChanges, searching);
    EXPECT_EQ(w.view->field()->text(), "repo");
    EXPECT_TRUE(w.view->clearButton()->isVisibleTo(w.view.get()));

    // No match, and typing on: the same shape, the note names what is typed now.
    w.state->setQuery("repz");
    w.settle();
    ASSERT_EQ(w.view->shownContent(), FileListContent::noMatch);
    w.state->setQuery("repzz");
    w.settle();
    QApplication::processEvents();
    EXPECT_EQ(textOf(*w.view, "noMatch"), "No files match “repzz”");
}

TEST(FileSearchView, ARefusedFolderShowsItsCardEvenWhileTypingWithoutASettingsButtonHere) {
    ViewWorld w;
    w.enter("/home/u/Documents");
    w.enter("/home/u/Documents/Locked");
    EXPECT_EQ(w.view->shownContent(), FileListContent::denied);
    EXPECT_EQ(textOf(*w.view, "deniedText"),
              "Quillbern can't read this folder. You may not have permission to open it — or the folder moved.");
    EXPECT_EQ(w.view->findChild<QPushButton*>(QStringLiteral("openSettings")), nullptr);
    w.state->setQuery("x");
    EXPECT_EQ(w.view->shownContent(), FileListContent::denied);
}

TEST(FileSearchView, ReturnInTheFieldActivatesTheSelectionAndRowsShowDatesOfFilesOnly) {
    ViewWorld w;
    w.enter("/home/u/Documents");
    w.state->move(+1);
    ASSERT_EQ(w.state->selectedEntry()->name, "report.txt");
    w.view->field()->onReturn();
    EXPECT_EQ(w.activated, std::vector<Path>{"/home/u/Documents/report.txt"});
    const QAbstractItemModel& rows = *w.view->list()->model();
    EXPECT_EQ(rows.index(0, 0).data().toString(), "Locked");
    EXPECT_FALSE(rows.index(0, 0).data(FileSearchView::kDateRole).isValid()) << "folders show no date";
    EXPECT_EQ(rows.index(1, 0).data(FileSearchView::kDateRole).toString(), "2 days ago");
    EXPECT_FALSE(w.view->grab().toImage().isNull());

    // A result with a caption shows where it lies instead of its date.
    w.state->goUp();
    w.settle();
    w.state->setQuery("report");
    w.settle();
    ASSERT_EQ(w.view->list()->model()->rowCount(), 1);
    const QModelIndex result = w.view->list()->model()->index(0, 0);
    EXPECT_EQ(result.data(FileSearchView::kCaptionRole).toString(), "Documents");
    EXPECT_FALSE(result.data(FileSearchView::kDateRole).isValid());
}
