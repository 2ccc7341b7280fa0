#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <gtest/gtest.h>

#include "linux/qt/QtClipboard.h"

using namespace quillbern;

TEST(QtClipboard, TextReplacesWhateverTheClipboardHeld) {
    QtClipboard clipboard;
    QGuiApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_ARGB32));
    EXPECT_EQ(clipboard.text(), std::nullopt);

    clipboard.setText("Quillbern 2.1 (57)\nDisplays: 2 — ü");
    EXPECT_EQ(clipboard.text(), "Quillbern 2.1 (57)\nDisplays: 2 — ü");
    EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasImage());
}
