#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include "core/foundation/Paths.h"
#include "tiles/TilesWorld.h"
#include "ui/tiles/DockView.h"
#include "ui/tiles/FileCell.h"
#include "ui/tiles/FolderPopover.h"
#include "ui/tiles/LocationContentView.h"
#include "ui/tiles/TileStrip.h"

namespace quillbern {
namespace {

using testing::dock;
using testing::folder;
using testing::kLeft;

const Path kFolder = "/home/u/Pictures";

class PopoverView : public ::testing::Test {
protected:
    PopoverView() { w.world.files.addDirectory(kFolder); }

    // The dock with its one folder tile, its holds counted.
    std::unique_ptr<DockView> openDock(DockEdge edge = DockEdge::bottom) {
        w.open({dock(1, edge, {folder(1, "Pictures", kFolder)})});
        DockContent content = w.content(1, kLeft);
        content.onInteractionLock = [this](bool held) { holds += held ? 1 : -1; };
        auto view = std::make_unique<DockView>(content, w.world.frames, nullptr);
        view->resize(w.panelSize(1, kLeft));
        view->show();
        return view;
    }
    static void clickTile(DockView& view) { view.strip().cells()[0]->content().activate(); }
    SimSerialQueue* queue(std::string_view label) const { return w.world.threads.queue(label); }
    // Lists folders and makes thumbnails until nothing is left.
    void settle() {
        for (bool ran = true; ran;) {
            w.world.runUntilIdle();
            ran = false;
            for (std::string_view label : {LocationBrowser::kQueueLabel, ThumbnailCache::kQueueLabel}) {
                if (queue(label) && queue(label)->runNext()) ran = true;
            }
        }
    }
    void addFiles(int count) {
        for (int i = 0; i < count; ++i)
            w.world.files.addFile(kFolder + "/photo" + std::to_string(i) + ".png", WallTime{1000.0 + i});
    }
    static std::vector<std::string> cellNames(const LocationContentView& content) {
        std::vector<std::string> names;
        for (const FileCell* cell : content.cells())
            names.push_back(cell->entry().name);
        return names;
    }

    testing::TilesWorld w;
    int holds = 0;
};

TEST_F(PopoverView, AFolderTileOpensItsFilesAboveItAndHoldsTheDockWhileOpen) {
    addFiles(3);
    auto view = openDock();
    clickTile(*view);
    FolderPopover* popover = view->openPopover();
    ASSERT_NE(popover, nullptr);
    EXPECT_TRUE(popover->isVisible());
    EXPECT_EQ(holds, 1);
    LocationContentView& content = popover->content();
    EXPECT_TRUE(content.showsSpinner()) << "until the listing arrives";
    settle();
    EXPECT_FALSE(content.showsSpinner());
    EXPECT_TRUE(content.showsGrid());
    EXPECT_EQ(cellNames(content), (std::vector<std::string>{"photo2.png", "photo1.png", "photo0.png"}));
    const QRect tile(view->strip().mapToGlobal(view->strip().tileFrames()[0].topLeft().toPoint()),
                     view->strip().tileFrames()[0].size().toSize());
    EXPECT_LE(popover->geometry().bottom(), tile.top()) << "above a dock at the bottom";
    EXPECT_EQ(content.width(), 300) << "three columns";

    // A file made while it is open shows without opening it again.
    w.world.files.addFile(kFolder + "/new.png", WallTime{2000});
    w.world.folders.emit(kFolder, FolderChange::contentsChanged);
    w.world.advance(LocationContent::kReloadDelay);
    settle();
    EXPECT_EQ(cellNames(content).front(), "new.png");
    EXPECT_EQ(content.cells().size(), 4u);

    popover->close();
    EXPECT_EQ(view->openPopover(), nullptr);
    EXPECT_EQ(holds, 0);
    clickTile(*view);
    EXPECT_EQ(view->openPopover(), nullptr) << "the click that closed it from outside does not open it again";
    w.world.advance(0.31);
    clickTile(*view);
    EXPECT_NE(view->openPopover(), nullptr);
}

TEST_F(PopoverView, RemovingTheTileWhileItsPopoverIsOpenGivesTheDockBackOnce) {
    auto view = openDock();
    clickTile(*view);
    ASSERT_EQ(holds, 1);
    const PinnedLocation shown = *w.pinned->profiles()[0].items[0].location();
    w.pinned->unpinLocation(shown.id, w.pinned->profiles()[0].id);
    EXPECT_EQ(view->openPopover(), nullptr);
    EXPECT_EQ(holds, 0);
    view.reset();
    EXPECT_EQ(holds, 0);
}

TEST_F(PopoverView, ADockThatGoesWithItsPopoverOpenGivesBackItsHold) {
    auto view = openDock();
    clickTile(*view);
    view.reset();
    EXPECT_EQ(holds, 0);
}

TEST_F(PopoverView, OnlyTheCellsInViewAskForThumbnails) {
    addFiles(250);
    for (int i = 0; i < 250; ++i)
        w.world.thumbnailer.setPicture(kFolder + "/photo" + std::to_string(i) + ".png", 128);
    auto view = openDock();
    clickTile(*view);
    LocationContentView& content = view->openPopover()->content();
    settle();
    ASSERT_EQ(content.cells().size(), 100u);
    EXPECT_TRUE(content.truncationNote().isVisible());
    const std::size_t asked = w.world.thumbnailer.requests().size();
    EXPECT_GE(asked, 15u) << "the first rows";
    EXPECT_LE(asked, 25u) << "not the rows below the fold";
    EXPECT_TRUE(content.cells()[0]->showsThumbnail());
    EXPECT_FALSE(content.cells()[99]->showsThumbnail());
    auto* scroll = content.findChild<QScrollArea*>();
    scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
    settle();
    EXPECT_TRUE(content.cells()[99]->showsThumbnail());
}

TEST_F(PopoverView, TheArrowIsOneShapeWithTheBodyAndOutlinedOnBothSides) {
    addFiles(3);
    auto view = openDock();
    clickTile(*view);
    settle();
    FolderPopover* popover = view->openPopover();
    const QImage drawn = popover->grab().toImage();
    const QRegion shown = popover->mask();
    const int fill = qGray(popover->palette().color(QPalette::Window).rgb());
    const QRect tile(view->strip().mapToGlobal(view->strip().tileFrames()[0].topLeft().toPoint()),
                     view->strip().tileFrames()[0].size().toSize());
    const int tipX = popover->mapFromGlobal(tile.center()).x();
    const int base = popover->height() - FolderPopover::kArrowDepth;
    for (int y : {base - 1, base}) {
        EXPECT_GE(qGray(drawn.pixel(tipX, y)), fill - 8) << "no border across the arrow's base, row " << y;
    }
    // Each row of the arrow shows the border on either side of the tip, inside the cut.
    for (int y = base + 1; y < popover->height() - 2; ++y) {
        int darkest[2] = {255, 255};
        for (int x = tipX - FolderPopover::kArrowWidth; x <= tipX + FolderPopover::kArrowWidth; ++x) {
            if (x != tipX && shown.contains(QPoint(x, y))) {
                int& side = darkest[x < tipX ? 0 : 1];
                side = std::min(side, qGray(drawn.pixel(x, y)));
            }
        }
        EXPECT_LT(darkest[0], fill - 24) << "the left side's border, row " << y;
        EXPECT_LT(darkest[1], fill - 24) << "the right side's border, row " << y;
    }
}

TEST_F(PopoverView, NotesTellOfAnEmptyOrUnreadableFolder) {
    auto view = openDock();
    clickTile(*view);
    settle();
    LocationContentView& empty = view->openPopover()->content();
    EXPECT_EQ(empty.note().text().toStdString(), "Folder is empty");
    EXPECT_FALSE(empty.showsGrid());
    EXPECT_EQ(empty.width(), 280);
    EXPECT_GE(empty.note().height(), empty.note().fontMetrics().height() + 40)
        << "the note stands clear of the header and the popover's edge";
    view->openPopover()->close();

    w.world.files.setUnreadable(kFolder);
    w.world.advance(0.31);
    clickTile(*view);
    settle();
    EXPECT_TRUE(view->openPopover()->content().note().text().startsWith("Quillbern can't read this folder."));
}

TEST_F(PopoverView, ALongNameTakesTwoLinesAndKeepsItsBeginningAndEnd) {
    const std::string name = "A very long name of a holiday photograph taken somewhere far away 2024-07-14.jpeg";
    w.world.files.addFile(kFolder + "/" + name, WallTime{1});
    auto view = openDock();
    clickTile(*view);
    settle();
    const QStringList lines = view->openPopover()->content().cells()[0]->nameLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("A very"));
    EXPECT_TRUE(lines[1].endsWith("14.jpeg"));
    EXPECT_TRUE((lines[0] + lines[1]).contains(QChar(0x2026)));
}

TEST_F(PopoverView, ClickingACellOpensTheFileAndClosesThePopover) {
    addFiles(1);
    auto view = openDock(DockEdge::left);
    clickTile(*view);
    settle();
    FolderPopover* popover = view->openPopover();
    const QRect tile(view->strip().mapToGlobal(view->strip().tileFrames()[0].topLeft().toPoint()),
                     view->strip().tileFrames()[0].size().toSize());
    EXPECT_GT(popover->geometry().left(), tile.right()) << "beside a dock on the left";
    popover->content().cells()[0]->click();
    EXPECT_EQ(w.world.launcher.openedLocations(), std::vector<std::string>{kFolder + "/photo0.png"});
    EXPECT_EQ(view->openPopover(), nullptr);
    EXPECT_EQ(holds, 0);
}

}  // namespace
}  // namespace quillbern
