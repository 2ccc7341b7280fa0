#include <malloc.h>

#include <QGuiApplication>
#include <charconv>
#include <cstring>

#include "picture/PictureAnswers.h"
#include "picture/PictureReading.h"
#include "picture/PictureWire.h"
#include "reader/Confinement.h"

// The picture reader: a process of Quillbern's own, started by it, that reads the pictures of
// others (icon files, icon themes' pictures, thumbnails) one at a time and hands their pixels
// back, so that a picture that takes too long or too much can be given up by ending this
// process. It takes the program's process id as its only argument and the program's socket as
// descriptor 3.

using namespace quillbern;

int main(int argc, char** argv) {
    pid_t parent = 0;
    if (argc != 2 || std::from_chars(argv[1], argv[1] + std::strlen(argv[1]), parent).ec != std::errc{}) return 2;
    if (!followParent(parent)) return 3;
    // One heap, whose space the address-space limit counts once.
    mallopt(M_ARENA_MAX, 1);
    // No display, no desktop's theme: only Qt's image readers and fonts.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("QT_QPA_PLATFORMTHEME");
    // What a picture makes Qt say is the picture's text: nobody reads it.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QGuiApplication application(argc, argv);
    limitQtsImageAllocations();
    if (!limitResources() || !refuseFurtherReach()) return 3;
    if (!sendReady(kReaderSocket)) return 1;
    return answerPictureRequests(kReaderSocket, limitTimeOfNextPicture);
}
