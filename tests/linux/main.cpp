#include <QApplication>
#include <gtest/gtest.h>

#include "SettingsSandbox.h"
#include "support/ProgramsPictureReader.h"

int main(int argc, char** argv) {
    // Before Qt, whose platform theme may read settings.
    quillbern::useSettingsSandbox();
    // Set here, not in the CTest environment: test discovery runs without it.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    quillbern::readOutsidePicturesAsTheProgramDoes();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
