#include <malloc.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/LinuxPlatform.h"
#include "app/StallProbe.h"
#include "core/foundation/Clock.h"
#include "core/foundation/JsonFileDefaults.h"
#include "core/foundation/Log.h"
#include "core/palettes/FileSearchController.h"
#include "core/settings/SettingsServices.h"
#include "core/shell/AppShell.h"
#include "core/shell/LegacyDefaultsMigration.h"
#include "linux/dbus/SessionBusAutolaunch.h"
#include "linux/dbus/SessionBusLoss.h"
#include "linux/dbus/SingleInstance.h"
#include "linux/process/PictureReaderProcess.h"
#include "linux/process/SyslogSink.h"
#include "linux/process/TerminationSignals.h"
#include "linux/process/UnplannedExit.h"
#include "linux/qt/InterfaceFont.h"
#include "linux/qt/QtMessageLog.h"
#include "linux/x11/DisplayLoss.h"
#include "linux/x11/XcbConnection.h"
#include "ui/foundation/DialogPlacement.h"
#include "ui/foundation/OutsidePictures.h"
#include "ui/foundation/QtIcons.h"
#include "ui/foundation/ShortcutTexts.h"
#include "ui/shell/ProgramIcon.h"
#include "ui/shell/QtSettingsWindow.h"
#include "ui/shell/QtWalkthroughWindow.h"
#include "ui/shell/StatusItem.h"

using namespace quillbern;

namespace {

// The program takes automation URLs only: their scheme, before the first colon, is the
// program's in any letter case. None when an argument is anything else.
std::optional<std::vector<std::string>> automationUrlsIn(int argc, char** argv) {
    std::vector<std::string> urls;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        const qsizetype colon = argument.indexOf(u':');
        if (colon < 0 || argument.first(colon).compare(u"quillbern", Qt::CaseInsensitive) != 0) return std::nullopt;
        urls.push_back(argument.toStdString());
    }
    return urls;
}

// Without a display the program cannot run; its URLs can still go to a Quillbern running
// on another display of this session.
int startWithoutDisplay(int argc, char** argv, const std::vector<std::string>& urls) {
    if (!urls.empty()) {
        const QCoreApplication application(argc, argv);
        if (SingleInstance::handOver(urls)) {
            log("no X display here; the URLs were handed to the running Quillbern");
            return 0;
        }
    }
    const QByteArray display = qgetenv("DISPLAY");
    log("not started: Quillbern needs an X display, and ",
        display.isEmpty() ? std::string("DISPLAY is not set")
                          : "the one DISPLAY names (" + escapedForLog(display.toStdString()) + ") cannot be reached",
        urls.empty() ? "" : ", nor does a running Quillbern take its URLs",
        "; start it inside your desktop session, or set DISPLAY to the display it should run on");
    return 1;
}

int run(std::unique_ptr<SingleInstance> instance, std::optional<std::string> language) {
    // From the first worker on, threads of ours run inside Qt and GLib: an exit() that a
    // library calls ends the program at once, after the steps of the scopes below.
    const UnplannedExit unplannedExit(
        [](int status) { log("stopped at once: a library it uses ended the program (exit status ", status, ")"); });
    OutsidePictures::shared().readWith(std::make_unique<PictureReaderProcess>(ReaderProgram::ofThisProgram(), "icons"));
    indexIconThemes();
    const SessionBusLoss sessionBusLoss;
    const std::unique_ptr<LinuxPlatform> platform = LinuxPlatform::open(std::move(instance), std::move(language));
    if (!platform) return 1;
    Platform& ports = platform->ports();
    // Before the stores exist, so each of them reads the settings taken over.
    LegacyDefaultsMigration::runIfNeeded(
        ports.defaults, [] { return JsonFileDefaults::readDomain(LegacyDefaultsMigration::kFormerDomain); });

    int status = 0;
    {
        const auto windowContext = [&ports, &platform](AppShell& shell) {
            return ShellWindowContext{.screens = ports.screens,
                                      .input = ports.input,
                                      .desktopSpace = [&platform] { return platform->desktopSpace(); },
                                      .openSettings = [&shell] { shell.openSettings(); },
                                      .quit = [&ports] { ports.process.quit(); }};
        };
        ShellParts parts;
        parts.statusItem = [](StatusMenu& menu) { return std::make_unique<StatusItem>(menu); };
        parts.settingsWindow = [windowContext](AppShell& shell) {
            return std::make_unique<QtSettingsWindow>(windowContext(shell), settingsServicesOf(shell));
        };
        parts.walkthrough = [windowContext](AppShell& shell) {
            return std::make_unique<QtWalkthroughWindow>(windowContext(shell),
                                                         Walkthrough::Services{.engine = shell.engine(),
                                                                               .previews = shell.previews(),
                                                                               .suppressor = shell.suppressor(),
                                                                               .loginItem = shell.loginItem(),
                                                                               .windowAccess = shell.windowAccess()});
        };
        parts.later.fileSearch = [&ports](AppShell& shell) {
            return std::make_unique<FileSearchController>(
                FileSearchController::Ports{.palette = {.panels = ports.panels,
                                                        .views = ports.paletteViews,
                                                        .screens = ports.screens,
                                                        .input = ports.input,
                                                        .events = ports.events,
                                                        .mainLoop = ports.mainLoop},
                                            .threads = ports.threads,
                                            .files = ports.files,
                                            .text = ports.text,
                                            .icons = ports.icons,
                                            .launcher = ports.launcher,
                                            .menus = ports.menus,
                                            .layout = ports.keyboardLayout,
                                            .apps = ports.apps,
                                            .alerts = ports.alerts,
                                            .clock = ports.clock,
                                            .folderAccessPrompt = std::nullopt},
                shell.pinned());
        };
        AppShell shell(ports, std::move(parts));
        TerminationSignals terminationSignals([&ports](int) { ports.process.quit(); });
        {
            const DisplayLoss displayLoss([&shell] { shell.displayLost(); });
            shell.applicationDidFinishLaunching();
            log("started");
            std::unique_ptr<StallProbe> probe;
            if (qEnvironmentVariableIsSet("QUILLBERN_STALL_PROBE")) {
                probe = std::make_unique<StallProbe>(qEnvironmentVariable("QUILLBERN_STALL_PROBE").toDouble());
                static_cast<ProbedApplication*>(qApp)->setProbe(probe.get());
            }
            status = QApplication::exec();
            platform->stopMakingThumbnails();
            if (probe) {
                static_cast<ProbedApplication*>(qApp)->setProbe(nullptr);
                log(probe->report());
            }
        }
        shell.applicationWillTerminate();
    }
    platform->stopWorkers();
    const bool picturesStopped = stopReadingPictures();
    if (platform->hasLeftWorkersBehind() || !picturesStopped) {
        // A worker that is still running may use any backend: the process ends with all
        // of them in place. Everything worth keeping was written when it changed.
        log("stopped");
        std::_Exit(status);
    }
    log("stopped");
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    // Blocks from 128 KB up are mapped on their own and go back to the system when freed.
    // Left to itself, glibc raises that bound to the largest block freed so far, and then the
    // pictures made and dropped at each paint (a dock's layer while its ends fade) come from
    // the heap, which grows in steps with whatever small blocks settle between them.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    // One heap for every thread. A thread's own arena keeps the pages it needed at its busiest
    // (malloc_trim does not shrink its top; only that thread freeing a large block does) and
    // pages of its own for the few blocks it keeps; in the main heap the idle release reaches
    // all of it. The workers allocate little, and mostly from their per-thread caches.
    mallopt(M_ARENA_MAX, 1);
    const std::optional<std::vector<std::string>> urls = automationUrlsIn(argc, argv);
    if (!urls) {
        std::fputs("usage: quillbern [quillbern://…] (it takes automation URLs only)\n", stderr);
        return 2;
    }
    // Before Qt or GLib looks for a session bus, and before any thread starts.
    keepSessionBusFromAutolaunching();
    SyslogSink logSink;
    setLogSink(&logSink);
    const SystemClock clock;
    const QtMessageLog qtMessages(clock);
    if (!XcbConnection::displayIsReachable()) {
        const int status = startWithoutDisplay(argc, argv, *urls);
        setLogSink(nullptr);
        return status;
    }

    // Before Qt, whose start makes the first threads.
    std::optional<std::string> language = LinuxPlatform::settleLanguage();
    const SingleInstance::Start start = SingleInstance::takeStart();
    ProbedApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillbern"));
    QApplication::setDesktopFileName(QStringLiteral("quillbern"));
    // An agent: it lives in the tray and its panels, never as a window in the taskbar.
    QApplication::setQuitOnLastWindowClosed(false);
    searchIconFoldersMadeLater();
    useCommonIconThemeAsFallback();
    OutsidePictures::shared().takeThemeFoldersFromQt();
    keepWholePicturesOutOfQtsPixmapCache();
    // Its windows and About show it.
    QApplication::setWindowIcon(programIcon());
    // Latin text in Japanese reads as in every other language.
    QApplication::setFont(withProportionalLatin(QApplication::font()));
    writeShortcutsOfQtMenusOurWay();
    placeDialogsOverTheirWindows();

    SingleInstance::Claim claim = SingleInstance::claim(*urls, start);
    int status = 1;
    switch (claim.outcome) {
        case SingleInstance::Outcome::instance:
            status = run(std::move(claim.instance), std::move(language));
            break;
        case SingleInstance::Outcome::handedOver:
            log("already running; this start was handed to the running Quillbern");
            status = 0;
            break;
        case SingleInstance::Outcome::failed:
            log("not started: it could not be told whether Quillbern already runs (see above); if it does, end it, "
                "then start Quillbern again");
            break;
    }
    setLogSink(nullptr);
    return status;
}
