#include <QApplication>
#include <cstdlib>

#include "app/AppDelegate.h"
#include "app/LinuxPlatform.h"
#include "core/foundation/Log.h"
#include "linux/process/SyslogSink.h"
#include "linux/process/TerminationSignals.h"
#include "ui/foundation/QtIcons.h"

using namespace quillbern;

int main(int argc, char** argv) {
    SyslogSink logSink;
    setLogSink(&logSink);

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillbern"));
    QApplication::setDesktopFileName(QStringLiteral("quillbern"));
    // An agent: it lives in the tray and its panels, never as a window in the taskbar.
    QApplication::setQuitOnLastWindowClosed(false);
    useCommonIconThemeAsFallback();

    int status = 0;
    {
        const std::unique_ptr<LinuxPlatform> platform = LinuxPlatform::open();
        if (!platform) {
            setLogSink(nullptr);
            return 1;
        }
        {
            AppDelegate delegate(platform->ports());
            TerminationSignals terminationSignals([](int) { QApplication::quit(); });
            delegate.applicationDidFinishLaunching();
            log("started");

            status = QApplication::exec();
            delegate.applicationWillTerminate();
        }
        if (platform->hasLeftWorkersBehind()) {
            // A worker that is still running may use any backend: the process ends with all
            // of them in place. Everything worth keeping was written when it changed.
            log("stopped");
            std::_Exit(status);
        }
    }
    log("stopped");
    setLogSink(nullptr);
    return status;
}
