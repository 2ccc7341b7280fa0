#include <QApplication>
#include <benchmark/benchmark.h>

#include "support/ProgramsPictureReader.h"

int main(int argc, char** argv) {
    // Views are painted offscreen, as the view tests paint them.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    quillbern::readOutsidePicturesAsTheProgramDoes();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
