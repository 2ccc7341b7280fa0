#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QStandardPaths>
#include <benchmark/benchmark.h>
#include <string>

#include "ui/foundation/OutsidePictures.h"
#include "ui/foundation/QtIcons.h"

using namespace quillbern;

namespace {

// A folder popover's cells as it makes them at each opening: each file's icon by its name,
// drawn at the cell's picture size; the desktop's icon theme (Adwaita where none is set).
constexpr const char* kFiles[] = {"notes-1.txt", "notes-2.txt", "photo.png", "report.pdf", "song.ogg", "page.html"};
constexpr int kPicture = 64;

void paintPopoverIcons(QImage& canvas) {
    QPainter painter(&canvas);
    int x = 0;
    for (const char* file : kFiles) {
        const QIcon icon = qIcon(QtIcons().fileIcon(std::string("/nonexistent/") + file));
        paintIconFitted(painter, QRectF(x, 0, kPicture, kPicture), icon);
        x += kPicture;
    }
}

// The offscreen platform knows no theme and looks in Qt's resources only; a bare X session
// names hicolor and looks where the desktop's themes are.
void useTheDesktopsThemes() {
    static const bool done = [] {
        QIcon::setThemeSearchPaths(QIcon::themeSearchPaths() +
                                   QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
                                                             QStringLiteral("icons"), QStandardPaths::LocateDirectory));
        if (QIcon::themeName().isEmpty()) QIcon::setThemeName(QStringLiteral("hicolor"));
        useCommonIconThemeAsFallback();
        return true;
    }();
    (void)done;
}

QImage& canvas() {
    static QImage image(kPicture * int(std::size(kFiles)), kPicture, QImage::Format_ARGB32_Premultiplied);
    return image;
}

// Until the worker has handed over every picture asked for, the main loop waiting for it.
void waitForPictures() {
    while (OutsidePictures::shared().beingRead() > 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// The first opening in a run: the stand-ins painted at once, then, once the worker has made
// the themes' index and read and scaled each picture, the popover painted again. The time is
// until then; the CPU time the main thread's alone.
void PopoverIconsFirstPainted(benchmark::State& state) {
    useTheDesktopsThemes();
    for (auto _ : state) {
        paintPopoverIcons(canvas());
        waitForPictures();
        paintPopoverIcons(canvas());
    }
}
BENCHMARK(PopoverIconsFirstPainted)->Iterations(1)->Unit(benchmark::kMillisecond);

// Every later opening.
void PopoverIconsPaintedAgain(benchmark::State& state) {
    useTheDesktopsThemes();
    paintPopoverIcons(canvas());
    waitForPictures();
    for (auto _ : state)
        paintPopoverIcons(canvas());
}
BENCHMARK(PopoverIconsPaintedAgain)->Unit(benchmark::kMicrosecond);

}  // namespace
