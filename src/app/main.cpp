#include <QApplication>

#include "app/AppDelegate.h"
#include "core/foundation/JsonFileDefaults.h"
#include "core/foundation/Log.h"
#include "linux/QtRunLoop.h"
#include "linux/SyslogSink.h"
#include "linux/TerminationSignals.h"

using namespace quillbern;

int main(int argc, char** argv) {
    SyslogSink logSink;
    setLogSink(&logSink);

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillbern"));
    QApplication::setDesktopFileName(QStringLiteral("quillbern"));
    // An agent: it lives in the tray and its panels, never as a window in the taskbar.
    QApplication::setQuitOnLastWindowClosed(false);

    const SystemClock clock;
    QtRunLoop mainLoop;
    const auto defaults = JsonFileDefaults::openDomain("defaults", clock);

    AppDelegate delegate({mainLoop, clock, *defaults, [] { QApplication::quit(); }});
    TerminationSignals terminationSignals([](int) { QApplication::quit(); });
    delegate.applicationDidFinishLaunching();
    log("started");

    const int status = QApplication::exec();
    delegate.applicationWillTerminate();
    log("stopped");
    setLogSink(nullptr);
    return status;
}
