#include <QApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

#include "core/tiles/DockDrops.h"
#include "tiles/TilesWorld.h"
#include "ui/tiles/DockView.h"
#include "ui/tiles/TileCell.h"
#include "ui/tiles/TileStrip.h"

namespace quillbern {
namespace {

using testing::app;
using testing::dock;
using testing::dockId;
using testing::kLeft;

const Path kTrashFolder = "/home/u/.local/share/Trash/files";
const PinnedTrash kTrash{Uuid::parse("BBBBBBBB-0000-4000-8000-000000000001").value()};

// A dock of three applications and the Trash, dragged over as the window system would.
class ViewDrops : public ::testing::Test {
protected:
    ViewDrops() {
        w.install("mail", "Mail", Qt::red);
        w.install("web", "Web", Qt::green);
        w.install("notes", "Notes", Qt::blue);
        w.world.files.addDirectory(kTrashFolder);
        w.world.files.setUserDirectory(UserDirectory::trash, kTrashFolder);
        w.world.files.addFile("/home/u/report.pdf");
        w.open({dock(1, DockEdge::bottom, {app("mail", "Mail"), app("web", "Web"), app("notes", "Notes"), kTrash})});
        view = w.view(1, kLeft, {600, 110});
    }

    QPoint tile(std::size_t index) const {
        return view->strip().geometry().topLeft() + view->strip().tileFrames().at(index).center().toPoint();
    }
    std::vector<std::string> keys() const {
        std::vector<std::string> result;
        for (const auto& cell : view->strip().cells())
            result.push_back(cell->key());
        return result;
    }
    template <class Event>
    bool send(QPoint at, const QMimeData& data, Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction) {
        Event event(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view.get(), &event);
        lastAction = event.dropAction();
        return event.isAccepted();
    }

    testing::TilesWorld w;
    std::unique_ptr<DockView> view;
    Qt::DropAction lastAction = Qt::IgnoreAction;
};

TEST_F(ViewDrops, ATileDraggedOverTheOthersReordersTheStripAsItGoes) {
    w.pinned->setDragSession(DragSession{"app:mail", dockId(1)});
    QMimeData token;
    token.setData(QString::fromLatin1(kPinnedItemDragType.data(), kPinnedItemDragType.size()), "app:mail");
    EXPECT_TRUE(send<QDragEnterEvent>(tile(0), token));
    EXPECT_TRUE(send<QDragMoveEvent>(tile(1), token));
    EXPECT_EQ(lastAction, Qt::MoveAction);
    EXPECT_EQ(keys()[0], "item:app:web");
    EXPECT_EQ(keys()[1], "item:app:mail");
    EXPECT_TRUE(send<QDropEvent>(tile(1), token));
    EXPECT_FALSE(w.pinned->dragSession());
    EXPECT_FALSE(view->isHighlighted()) << "a tile's own drag lights nothing";
    EXPECT_EQ(view->strip().cells()[1]->opacity.target(), 1) << "the dropped tile is not left dim";
}

TEST_F(ViewDrops, ADragLetGoOutsideAnyTileStaysForThePlacementOverlayToEnd) {
    // The offscreen platform's drag ends at once, dropped nowhere, as a release over the
    // desktop does.
    view->strip().onDragStart(0);
    ASSERT_TRUE(w.pinned->dragSession());
    EXPECT_EQ(w.pinned->dragSession()->itemID, "app:mail")
        << "ended here, the overlay would hide before it saw the release";
    EXPECT_EQ(view->strip().cells()[0]->opacity.target(), TileCell::kDimmedOpacity);
    // Whoever ends it undims the tile.
    w.pinned->setDragSession(std::nullopt);
    EXPECT_EQ(view->strip().cells()[0]->opacity.target(), 1);
}

TEST_F(ViewDrops, FilesOverTheTrashMoveAndGoToTheTrashWhichTurnsFull) {
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/home/u/report.pdf")), QUrl(QStringLiteral("https://x.org"))});
    ASSERT_TRUE(view->trashTile(kTrash.id));
    EXPECT_EQ(view->trashTile(kTrash.id)->isFull(), false);

    EXPECT_TRUE(send<QDragEnterEvent>(tile(0), files));
    EXPECT_TRUE(send<QDragMoveEvent>(tile(0), files));
    EXPECT_EQ(lastAction, Qt::CopyAction) << "an application copies";
    EXPECT_TRUE(send<QDragMoveEvent>(tile(3), files));
    EXPECT_EQ(lastAction, Qt::MoveAction) << "the Trash moves";
    EXPECT_EQ(view->tileDragHovers(), 1);
    EXPECT_TRUE(send<QDropEvent>(tile(3), files));
    EXPECT_EQ(view->tileDragHovers(), 0);
    EXPECT_FALSE(view->isHighlighted());

    w.world.runUntilIdle();
    EXPECT_TRUE(w.world.files.exists(kTrashFolder + "/report.pdf"));
    w.world.folders.emit(kTrashFolder, FolderChange::contentsChanged);
    EXPECT_EQ(view->trashTile(kTrash.id)->isFull(), true);
    EXPECT_TRUE(w.world.alerts.shown().empty());
}

TEST_F(ViewDrops, TheTrashTileGoesWithItsItemAndComesBackFresh) {
    EXPECT_EQ(w.world.folders.watchCount(kTrashFolder), 1);
    w.pinned->unpinTrash(kTrash.id, dockId(1));
    EXPECT_FALSE(view->trashTile(kTrash.id));
    EXPECT_EQ(w.world.folders.watchCount(kTrashFolder), 0);
    w.world.files.addFile(kTrashFolder + "/old.txt");
    w.pinned->undoLastRemoval();
    ASSERT_TRUE(view->trashTile(kTrash.id));
    EXPECT_EQ(view->trashTile(kTrash.id)->isFull(), true);
    EXPECT_EQ(w.world.folders.watchCount(kTrashFolder), 1);
}

}  // namespace
}  // namespace quillbern
