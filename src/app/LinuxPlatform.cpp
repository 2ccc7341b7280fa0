#include "app/LinuxPlatform.h"

#include <QApplication>
#include <QDBusConnection>

#include "core/foundation/JsonFileDefaults.h"
#include "core/foundation/Log.h"
#include "core/model/DockPreferences.h"
#include "core/platform/FrameClock.h"
#include "linux/dbus/DBusSessionEvents.h"
#include "linux/dbus/SingleInstance.h"
#include "linux/freedesktop/LinuxAppCatalog.h"
#include "linux/freedesktop/LinuxFileSystem.h"
#include "linux/freedesktop/LinuxFolderEvents.h"
#include "linux/freedesktop/LinuxLauncher.h"
#include "linux/freedesktop/LinuxLoginService.h"
#include "linux/freedesktop/LinuxNativeDockPreferences.h"
#include "linux/freedesktop/LinuxSystemAppearance.h"
#include "linux/freedesktop/LinuxThumbnailer.h"
#include "linux/i18n/GettextLocalizer.h"
#include "linux/i18n/InterfaceLanguage.h"
#include "linux/icu/IcuTextServices.h"
#include "linux/process/LinuxAppProcess.h"
#include "linux/process/PictureReaderProcess.h"
#include "linux/qt/QtClipboard.h"
#include "linux/qt/QtRunLoop.h"
#include "linux/x11/X11Compositing.h"
#include "linux/x11/X11Connection.h"
#include "linux/x11/X11EventMonitors.h"
#include "linux/x11/X11HotKeys.h"
#include "linux/x11/X11InputState.h"
#include "linux/x11/X11KeyboardLayout.h"
#include "linux/x11/X11OnScreenWindows.h"
#include "linux/x11/X11Permissions.h"
#include "linux/x11/X11Restacks.h"
#include "linux/x11/X11RunningApps.h"
#include "linux/x11/X11Screens.h"
#include "linux/x11/X11SessionEvents.h"
#include "linux/x11/X11WindowAccess.h"
#include "linux/x11/X11WindowCapture.h"
#include "ui/dock/QtDockViewFactory.h"
#include "ui/foundation/QtAlerts.h"
#include "ui/foundation/QtIcons.h"
#include "ui/foundation/QtMenus.h"
#include "ui/foundation/QtPanelHost.h"
#include "ui/palettes/QtPaletteViewFactory.h"
#include "ui/settings/QtFolderPicker.h"
#include "ui/workspace/QtWorkspaceViewFactory.h"

namespace quillbern {

namespace {

// The settings' domain, which the defaults own.
constexpr std::string_view kSettingsDomain = "defaults";

// The catalogue of the language settled at the start, with Qt's own texts in the same language;
// installed before any text is made.
std::unique_ptr<GettextLocalizer> installCatalogue(std::optional<std::string> language) {
    if (language) installQtTranslations(*language);
    auto localizer = std::make_unique<GettextLocalizer>(catalogueFolder(), std::move(language));
    setLocalizer(localizer.get());
    return localizer;
}

}  // namespace

std::optional<std::string> LinuxPlatform::settleLanguage() {
    const std::optional<std::string> chosen =
        DockPreferences::storedLanguage(JsonFileDefaults::readDomain(kSettingsDomain).value_or(Json::object()));
    std::optional<std::string> language = settleInterfaceLanguage(chosen, catalogueFolder());
    log("texts in ", language.value_or("English"),
        chosen ? ", for the language chosen in Settings (" + *chosen + ")" : ", for the desktop's languages");
    return language;
}

std::unique_ptr<LinuxPlatform> LinuxPlatform::open(std::unique_ptr<SingleInstance> instance,
                                                   std::optional<std::string> language) {
    std::unique_ptr<X11Connection> connection = X11Connection::open();
    if (!connection) return nullptr;
    return std::unique_ptr<LinuxPlatform>(
        new LinuxPlatform(std::move(connection), std::move(instance), std::move(language)));
}

LinuxPlatform::LinuxPlatform(std::unique_ptr<X11Connection> connection, std::unique_ptr<SingleInstance> instance,
                             std::optional<std::string> language)
    : mainLoop_(std::make_unique<QtRunLoop>()),
      frames_(std::make_unique<FrameClock>(*mainLoop_, clock_)),
      defaults_(JsonFileDefaults::openDomain(
          kSettingsDomain, clock_, JsonFileDefaults::Saving{*mainLoop_, threads_.serialQueue("quillbern.save")})),
      localizer_(installCatalogue(std::move(language))),
      text_(std::make_unique<IcuTextServices>(localizer_->language())),
      alerts_(std::make_unique<QtAlerts>()),
      connection_(std::move(connection)),
      compositing_(std::make_unique<X11Compositing>(*connection_)),
      appearance_(std::make_unique<LinuxSystemAppearance>(*compositing_)),
      screens_(std::make_unique<X11Screens>(*mainLoop_, threads_)),
      input_(std::make_unique<X11InputState>(*connection_, *screens_)),
      keyboardLayout_(std::make_unique<X11KeyboardLayout>(*connection_)),
      restacks_(std::make_unique<X11Restacks>(*connection_)),
      panels_(std::make_unique<QtPanelHost>(
          *frames_, [this] { return screens_->desktopSpace(); }, *appearance_, *keyboardLayout_,
          [this](Task task) { return restacks_->onRestack(std::move(task)); })),
      paletteViews_(std::make_unique<QtPaletteViewFactory>(*appearance_)),
      dockViews_(std::make_unique<QtDockViewFactory>(*frames_)),
      workspaceViews_(std::make_unique<QtWorkspaceViewFactory>(*frames_)),
      menus_(std::make_unique<QtMenus>(*panels_)),
      events_(std::make_unique<X11EventMonitors>(
          *connection_, *input_, *screens_, [this](std::uint32_t window) { return panels_->panelOfWindow(window); },
          userTime_)),
      hotKeys_(std::make_unique<X11HotKeys>(*connection_, *keyboardLayout_, userTime_)),
      windowAccess_(
          std::make_unique<X11WindowAccess>([this] { return screens_->desktopSpace(); }, hiddenApps_, &userTime_)),
      onScreenWindows_(std::make_unique<X11OnScreenWindows>(*connection_, [this] { return screens_->desktopSpace(); })),
      permissions_(std::make_unique<X11Permissions>(*connection_)),
      catalog_(std::make_unique<LinuxAppCatalog>()),
      apps_(std::make_unique<X11RunningApps>(*connection_, *screens_, *catalog_, hiddenApps_, *mainLoop_, threads_)),
      desktopEvents_(std::make_unique<X11SessionEvents>(*connection_)),
      session_(std::make_unique<DBusSessionEvents>(*desktopEvents_, QDBusConnection::systemBus(),
                                                   QDBusConnection::sessionBus())),
      capture_(std::make_unique<X11WindowCapture>(threads_)),
      launcher_(std::make_unique<LinuxLauncher>(*apps_, *alerts_,
                                                [this](std::shared_ptr<ChildProcess> child, const Path& entry) {
                                                    // Launches may report on any thread.
                                                    mainLoop_->post([this, child = std::move(child), entry] {
                                                        apps_->noteLaunch(child, entry);
                                                    });
                                                })),
      files_(std::make_unique<LinuxFileSystem>()),
      folders_(std::make_unique<LinuxFolderEvents>()),
      icons_(std::make_unique<QtIcons>([this](Pid pid) { return apps_->windowPictures(pid); })),
      thumbnailer_(std::make_unique<PictureReaderProcess>(ReaderProgram::ofThisProgram(), "thumbnails")),
      nativeDock_(std::make_unique<LinuxNativeDockPreferences>()),
      login_(std::make_unique<LinuxLoginService>(QCoreApplication::applicationFilePath().toStdString())),
      process_(std::make_unique<LinuxAppProcess>([] { QApplication::quit(); })),
      instance_(std::move(instance)),
      folderPicker_(std::make_unique<QtFolderPicker>()),
      ports_(std::make_unique<Platform>(Platform{.mainLoop = *mainLoop_,
                                                 .clock = clock_,
                                                 .defaults = *defaults_,
                                                 .uuids = uuids_,
                                                 .text = *text_,
                                                 .alerts = *alerts_,
                                                 .appearance = *appearance_,
                                                 .screens = *screens_,
                                                 .input = *input_,
                                                 .events = *events_,
                                                 .hotKeys = *hotKeys_,
                                                 .keyboardLayout = *keyboardLayout_,
                                                 .keyboardGrabber = keyboardGrabber_,
                                                 .panels = *panels_,
                                                 .paletteViews = *paletteViews_,
                                                 .dockViews = *dockViews_,
                                                 .workspaceViews = *workspaceViews_,
                                                 .menus = *menus_,
                                                 .threads = threads_,
                                                 .windowList = *windowAccess_,
                                                 .mainThreadWindowList = *onScreenWindows_,
                                                 .windowAccess = *windowAccess_,
                                                 .permissions = *permissions_,
                                                 .processes = processes_,
                                                 .apps = *apps_,
                                                 .session = *session_,
                                                 .capture = *capture_,
                                                 .launcher = *launcher_,
                                                 .catalog = *catalog_,
                                                 .files = *files_,
                                                 .folders = *folders_,
                                                 .icons = *icons_,
                                                 .thumbnailer = thumbnailer_,
                                                 .nativeDock = *nativeDock_,
                                                 .login = *login_,
                                                 .process = *process_,
                                                 .clipboard = clipboard_,
                                                 .urls = *instance_,
                                                 // No software updater: the package manager updates the program.
                                                 .updater = nullptr,
                                                 .folderPicker = *folderPicker_})),
      installedIcons_(catalog_->onEntriesChanged(lookForInstalledIcons)) {}

LinuxPlatform::~LinuxPlatform() {
    setLocalizer(nullptr);
}

void LinuxPlatform::stopMakingThumbnails() {
    thumbnailer_.stop();
}

void LinuxPlatform::stopWorkers() {
    capture_->stop();
    apps_->stop();
    screens_->stop();
}

DesktopSpace LinuxPlatform::desktopSpace() const {
    return screens_->desktopSpace();
}

}  // namespace quillbern
