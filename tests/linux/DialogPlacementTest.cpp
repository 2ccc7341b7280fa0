#include <QApplication>
#include <QMessageBox>
#include <gtest/gtest.h>

#include "ui/foundation/DialogPlacement.h"

namespace quillbern {
namespace {

TEST(DialogPlacement, ADialogSentElsewhereBeforeItsFirstExposureIsPutBackAtEachShow) {
    placeDialogsOverTheirWindows();
    QWidget window;
    window.setGeometry(100, 80, 600, 440);
    window.show();
    QCoreApplication::processEvents();
    QMessageBox box(QMessageBox::Warning, "Delete the dock?", "Delete the dock?", QMessageBox::Cancel, &window);
    box.setWindowModality(Qt::WindowModal);
    for (int shown = 0; shown < 2; ++shown) {
        box.open();
        const QRect placed = box.geometry();
        ASSERT_TRUE(window.geometry().contains(placed.center())) << "over its window";
        // As when Qt read its place from a frame the window manager had not moved yet, and a
        // resize of the dialog sent it to the screen's corner.
        box.setGeometry(QRect(QPoint(0, 0), placed.size()));
        QCoreApplication::processEvents();
        EXPECT_EQ(box.geometry(), placed) << shown;
        box.hide();
    }
    // Once it shows, a move (the user's) is left alone.
    box.open();
    QCoreApplication::processEvents();
    box.move(20, 30);
    QCoreApplication::processEvents();
    EXPECT_EQ(box.pos(), QPoint(20, 30));
}

}  // namespace
}  // namespace quillbern
