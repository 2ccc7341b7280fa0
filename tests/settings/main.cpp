#include <QApplication>
#include <gtest/gtest.h>

#include "support/ProgramsPictureReader.h"
#include "ui/settings/SettingsTheme.h"

int main(int argc, char** argv) {
    // Set here, not in the CTest environment: test discovery runs without it.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    quillbern::readOutsidePicturesAsTheProgramDoes();
    // Every eased change of the Settings controls lands at once.
    quillbern::SettingsTheme::setAnimationsInstant(true);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
