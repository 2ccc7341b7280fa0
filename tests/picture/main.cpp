#include <QGuiApplication>
#include <gtest/gtest.h>

#include "picture/PictureReading.h"

int main(int argc, char** argv) {
    // Set here, not in the CTest environment: test discovery runs without it.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    // As the program has it.
    quillbern::limitQtsImageAllocations();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
