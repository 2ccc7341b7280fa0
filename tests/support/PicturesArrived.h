#pragma once

#include <QCoreApplication>
#include <QIcon>
#include <QImage>
#include <chrono>

#include "ui/foundation/OutsidePictures.h"

namespace quillbern {

// Waits, ten seconds at most, until the themes' index and every picture from outside asked
// for have arrived from their worker, and the shown windows were asked to repaint.
inline void waitForPictures() {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while ((OutsidePictures::shared().beingRead() > 0 || !OutsidePictures::shared().themesList({})) &&
           std::chrono::steady_clock::now() < until)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    // The repaint that follows arrivals comes a moment later.
    const auto repainted = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
    while (std::chrono::steady_clock::now() < repainted)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// The icon as it is drawn at that size once its pictures have arrived.
inline QImage arrivedPicture(const QIcon& icon, QSize size) {
    icon.pixmap(size);
    waitForPictures();
    return icon.pixmap(size).toImage();
}

}  // namespace quillbern
