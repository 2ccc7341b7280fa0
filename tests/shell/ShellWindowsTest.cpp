#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QSystemTrayIcon>
#include <gtest/gtest.h>

#include "shell/ShellWorld.h"
#include "ui/settings/SettingsView.h"
#include "ui/settings/ShortcutRecorderView.h"
#include "ui/shell/MenuRows.h"
#include "ui/shell/QtSettingsWindow.h"
#include "ui/shell/QtWalkthroughWindow.h"
#include "ui/shell/StatusItem.h"

namespace quillbern {
namespace {

using testing::ShellWorld;

// The action, which the test needs to exist.
QAction* actionOf(const QMenu& menu, const QString& titleStart) {
    for (QAction* action : menu.actions())
        if (action->text().startsWith(titleStart)) return action;
    ADD_FAILURE() << "no row " << titleStart.toStdString();
    static QAction missing;
    return &missing;
}

QStringList titlesOf(const QMenu& menu) {
    QStringList titles;
    for (const QAction* action : menu.actions())
        titles << (action->isSeparator() ? QStringLiteral("---") : action->text());
    return titles;
}

// Runs what Qt deferred: queued commands and deletions.
void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QShortcut* shortcutOf(const QWidget& window, QKeyCombination key) {
    for (QShortcut* shortcut : window.findChildren<QShortcut*>())
        if (shortcut->key() == QKeySequence(key)) return shortcut;
    return nullptr;
}

class ShellWindowsTest : public ::testing::Test {
protected:
    ShellWindowsTest() {
        w.world.defaults.set(AppShell::kOnboardedKey, true);
        w.launch();
    }
    ShellWindowContext context() {
        return {.screens = w.world.screens,
                .input = w.world.input,
                .desktopSpace =
                    [] {
                        return DesktopSpace(RectTL{0, 0, 1920, 1080});
                    },
                .openSettings = [this] { ++settingsRequests; },
                .quit = [this] { ++quits; }};
    }

    Walkthrough::Services services() {
        AppShell& shell = *w.shell;
        return {.engine = shell.engine(),
                .previews = shell.previews(),
                .suppressor = shell.suppressor(),
                .loginItem = shell.loginItem(),
                .windowAccess = shell.windowAccess()};
    }

    ShellWorld w;
    int settingsRequests = 0;
    int quits = 0;
};

TEST_F(ShellWindowsTest, TheTrayMenuShowsTheRowsAsTheyAreWhenItOpens) {
    StatusItem item(w.shell->statusMenu());
    EXPECT_FALSE(item.show()) << "the offscreen platform has no tray";
    QMenu& menu = item.menu();
    EXPECT_TRUE(menu.actions().isEmpty());

    w.shell->dockPreferences().setAutoHide(false);
    Q_EMIT menu.aboutToShow();
    EXPECT_EQ(titlesOf(menu).mid(0, 5), (QStringList{"Quillbern", "Window access ✓ · Previews off", "---", "Docks",
                                                     "All open apps\tCtrl+Super+A"}));
    EXPECT_FALSE(actionOf(menu, "Quillbern")->isEnabled());
    EXPECT_FALSE(actionOf(menu, "Undo")->isVisible());
    EXPECT_FALSE(actionOf(menu, "Check for Updates…")->isEnabled());
    EXPECT_EQ(actionOf(menu, "Settings…")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Comma));
    EXPECT_EQ(actionOf(menu, "Quit Quillbern")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    QMenu* docks = actionOf(menu, "Docks")->menu();
    ASSERT_TRUE(docks);
    EXPECT_EQ(titlesOf(*docks), (QStringList{"Main — bottom\tCtrl+Super+1", "---", "New dock"}));
    EXPECT_TRUE(docks->actions().front()->isChecked());
    EXPECT_FALSE(actionOf(menu, "Hover previews")->isChecked());

    // Opened again after a change: the new state, and no submenu of the last opening left.
    const Uuid main = w.shell->pinned().profiles().front().id;
    w.shell->pinned().setVisible(main, false);
    w.shell->pinned().renameProfile(main, "R&D");
    w.shell->pinned().pin("org.example.Mail", "Mail", std::nullopt, main);
    w.shell->pinned().unpin("org.example.Mail", main);
    Q_EMIT menu.aboutToShow();
    settle();
    EXPECT_TRUE(actionOf(menu, "Put the app back")->isVisible());
    const QAction* renamed = actionOf(menu, "Docks")->menu()->actions().front();
    EXPECT_FALSE(renamed->isChecked());
    EXPECT_TRUE(renamed->iconText().startsWith("R&D — bottom")) << "as shown, where Qt's mnemonics cut out an \"&\"";
    EXPECT_EQ(menu.findChildren<QMenu*>(Qt::FindDirectChildrenOnly).size(), 1);

    // A chosen row acts once the menu has closed.
    actionOf(menu, "Quit Quillbern")->trigger();
    EXPECT_EQ(w.process.quitCount(), 0);
    settle();
    EXPECT_EQ(w.process.quitCount(), 1);
}

TEST_F(ShellWindowsTest, ALeftClickOnTheIconOpensSettingsAndARightClickOnlyTheMenu) {
    StatusItem item(w.shell->statusMenu());
    item.show();
    Q_EMIT item.icon().activated(QSystemTrayIcon::Context);
    EXPECT_EQ(w.log.count("settings.open"), 0);
    EXPECT_TRUE(w.world.log.contains("status item click: right button → menu"));
    Q_EMIT item.icon().activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(w.log.count("settings.open"), 1);
}

TEST_F(ShellWindowsTest, SettingsOpenOnceCentredAndKeepTheirStateWhenClosed) {
    QtSettingsWindow settings(context(), settingsServicesOf(*w.shell));
    EXPECT_FALSE(settings.window());
    settings.open();
    QWidget* window = settings.window();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), "Quillbern Settings");
    EXPECT_TRUE(window->isVisible());
    // 940 × 780 in the middle of the 1920 × 1050 visible frame, below the 30 points taken
    // at the top.
    EXPECT_EQ(window->geometry(), QRect(490, 165, 940, 780));
    EXPECT_EQ(window->minimumSizeHint().expandedTo(QSize(740, 520)), window->minimumSizeHint());
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));

    settings.view()->select(SettingsSection::appearance);
    window->close();
    settle();
    EXPECT_FALSE(window->isVisible());
    settings.open();
    EXPECT_EQ(settings.window(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(settings.view()->section(), SettingsSection::appearance);

    // Shown again, it comes to the display under the pointer.
    std::vector<ScreenInfo> screens = w.world.screens.screens();
    ScreenInfo right = screens.front();
    right.id = 2;
    right.frame = {1920, 0, 1280, 1080};
    right.visibleFrame = right.frame;
    screens.push_back(right);
    w.world.screens.setScreens(screens);
    w.world.input.setPointer({2500, 500});
    window->close();
    settings.open();
    EXPECT_EQ(window->geometry(), QRect(2090, 150, 940, 780));

    w.shell->openHelp();
    EXPECT_EQ(settings.view()->section(), SettingsSection::help);
}

TEST_F(ShellWindowsTest, OurWindowsTakeCtrlCommaForSettingsCtrlWToCloseAndCtrlQToQuit) {
    QtSettingsWindow settings(context(), settingsServicesOf(*w.shell));
    settings.open();
    QWidget& window = *settings.window();
    ASSERT_TRUE(shortcutOf(window, Qt::CTRL | Qt::Key_Comma));
    Q_EMIT shortcutOf(window, Qt::CTRL | Qt::Key_Comma)->activated();
    EXPECT_EQ(settingsRequests, 1);
    Q_EMIT shortcutOf(window, Qt::CTRL | Qt::Key_Q)->activated();
    EXPECT_EQ(quits, 1);
    Q_EMIT shortcutOf(window, Qt::CTRL | Qt::Key_W)->activated();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(ShellWindowsTest, TheWalkthroughStaysAboveAndEachClosingIsToldOnceAndStartsAnew) {
    QtWalkthroughWindow walkthrough(context(), services());
    int closings = 0;
    walkthrough.onClosed = [&closings] { ++closings; };
    walkthrough.present();
    QWidget* window = walkthrough.window();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), "Welcome");
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(window->width(), 460);
    EXPECT_GE(window->height(), 380);
    EXPECT_EQ(window->geometry().x(), 960 - 460 / 2) << "centred on the screen";
    walkthrough.present();
    EXPECT_EQ(walkthrough.window(), window) << "brought forward, not made again";

    window->close();
    EXPECT_EQ(closings, 1);
    EXPECT_FALSE(walkthrough.window());
    settle();

    walkthrough.present();
    ASSERT_TRUE(walkthrough.window());
    Q_EMIT shortcutOf(*walkthrough.window(), Qt::CTRL | Qt::Key_W)->activated();
    EXPECT_EQ(closings, 2);
    settle();
}

// The button of the walkthrough's window with this text, shown or not.
QPushButton* buttonOf(const QWidget& window, const QString& text) {
    for (QPushButton* button : window.findChildren<QPushButton*>())
        if (button->text() == text) return button;
    return nullptr;
}

bool isShown(const QWidget* widget) {
    return widget && widget->isVisibleTo(widget->window());
}

TEST_F(ShellWindowsTest, TheWalkthroughsButtonsLeadThroughItsStepsAndFinishClosesIt) {
    w.permissions.setWindowAccessTrusted(false);
    w.advance(WindowEngine::kTrustPollInterval);
    QtWalkthroughWindow walkthrough(context(), services());
    int closings = 0;
    walkthrough.onClosed = [&closings] { ++closings; };
    walkthrough.present();
    QWidget* window = walkthrough.window();
    ASSERT_TRUE(window);
    EXPECT_FALSE(isShown(buttonOf(*window, "Previous"))) << "nothing before the welcome";
    // Screen readers read the words, not the markup that sets some in bold.
    for (QLabel* label : window->findChildren<QLabel*>()) {
        const QString name = QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name);
        EXPECT_FALSE(name.contains('*')) << name.toStdString();
    }
    QPushButton* forward = buttonOf(*window, "Continue");
    ASSERT_TRUE(forward);
    EXPECT_TRUE(forward->isDefault());

    forward->click();
    // Window access missing: Later, and Return belongs to the step's own button.
    EXPECT_EQ(forward->text(), "Later");
    EXPECT_FALSE(forward->isDefault());
    QPushButton* allow = buttonOf(*window, "Check Window Access");
    ASSERT_TRUE(isShown(allow));
    EXPECT_TRUE(allow->isDefault());
    EXPECT_TRUE(isShown(buttonOf(*window, "Previous")));

    // A grant while the step shows: the step turns into its granted form at once.
    w.permissions.setWindowAccessTrusted(true);
    w.advance(WindowEngine::kTrustPollInterval);
    EXPECT_FALSE(isShown(allow));
    EXPECT_EQ(forward->text(), "Continue");
    EXPECT_TRUE(forward->isDefault());

    forward->click();
    forward->click();
    EXPECT_EQ(forward->text(), "Finish");
    // Hiding the desktop's dock where it cannot be hidden: the switch stays off and says why.
    w.world.nativeDock.setSupported(false);
    QCheckBox* hide = nullptr;
    for (QCheckBox* box : window->findChildren<QCheckBox*>())
        if (box->text() == "Hide the desktop's dock") hide = box;
    ASSERT_TRUE(hide);
    hide->click();
    EXPECT_FALSE(hide->isChecked());
    ASSERT_TRUE(w.shell->suppressor().lastError());
    bool reasonShown = false;
    for (const QLabel* label : window->findChildren<QLabel*>())
        reasonShown |= isShown(label) && label->text() == QString::fromStdString(*w.shell->suppressor().lastError());
    EXPECT_TRUE(reasonShown);

    walkthrough.present();
    EXPECT_EQ(forward->text(), "Finish") << "a request while open keeps the step";
    forward->click();
    EXPECT_EQ(closings, 1);
    EXPECT_FALSE(walkthrough.window());
    settle();

    walkthrough.present();
    ASSERT_TRUE(walkthrough.window());
    EXPECT_TRUE(buttonOf(*walkthrough.window(), "Continue")) << "a new window starts at the welcome";
    // Escape finishes on any step.
    Q_EMIT shortcutOf(*walkthrough.window(), QKeyCombination(Qt::Key_Escape))->activated();
    EXPECT_EQ(closings, 2);
    settle();
}

TEST_F(ShellWindowsTest, ReturnPressesTheWalkthroughsDefaultButtonWhereverTheFocusIs) {
    w.permissions.setWindowAccessTrusted(false);
    w.advance(WindowEngine::kTrustPollInterval);
    QtWalkthroughWindow walkthrough(context(), services());
    int closings = 0;
    walkthrough.onClosed = [&closings] { ++closings; };
    walkthrough.present();
    QWidget* window = walkthrough.window();
    ASSERT_TRUE(window);
    const auto press = [&](Qt::Key key) {
        QShortcut* shortcut = shortcutOf(*walkthrough.window(), QKeyCombination(key));
        ASSERT_TRUE(shortcut && shortcut->context() == Qt::WindowShortcut);
        Q_EMIT shortcut->activated();
    };
    QPushButton* forward = buttonOf(*window, "Continue");
    ASSERT_TRUE(forward);
    press(Qt::Key_Return);
    EXPECT_EQ(forward->text(), "Later") << "Continue took Return";
    press(Qt::Key_Return);
    EXPECT_EQ(w.permissions.windowAccessPrompts(), 1) << "the step's own button took it";
    EXPECT_EQ(forward->text(), "Later") << "Return never skips the step";

    w.permissions.setWindowAccessTrusted(true);
    w.advance(WindowEngine::kTrustPollInterval);
    press(Qt::Key_Enter);
    press(Qt::Key_Return);
    EXPECT_EQ(forward->text(), "Finish");
    press(Qt::Key_Return);
    EXPECT_EQ(closings, 1);
    settle();
}

TEST_F(ShellWindowsTest, TheShortcutRecorderTakesKeysByPlaceOrQtKeyAndIgnoresLoneModifiers) {
    std::vector<HotKeyChord> recorded;
    std::vector<std::string> unusable;
    ChordText chordText(w.world.keyboardLayout, w.world.text);
    QWidget window;
    auto* view = new ShortcutRecorderView(
        std::make_unique<ShortcutRecorder>(
            w.world.alerts, w.world.hotKeys, w.world.keyboardGrabber, chordText,
            ShortcutRecorder::Callbacks{[&recorded](const HotKeyChord& chord) { recorded.push_back(chord); },
                                        {},
                                        {},
                                        [&unusable](const std::string& name) { unusable.push_back(name); }}),
        w.world.keyboardLayout, &window);
    ShortcutRecorder& recorder = view->recorder();
    window.show();
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(view, &click);
    ASSERT_TRUE(recorder.isListening());

    QKeyEvent modifier(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
    QCoreApplication::sendEvent(view, &modifier);
    EXPECT_TRUE(recorder.isListening()) << "a modifier alone is no key";
    EXPECT_EQ(w.world.alerts.beepCount(), 0);

    // A key outside our table is named as the layout names it without the modifiers, which
    // turn Print into SysReq; without a scan code it has no name, since Qt's is not the
    // catalogue's.
    w.world.keyboardLayout.setKeyName(107, "Print");
    QKeyEvent print(QEvent::KeyPress, Qt::Key_SysReq, Qt::ControlModifier | Qt::AltModifier, 107, 0xff15, 0x0c);
    QCoreApplication::sendEvent(view, &print);
    QKeyEvent pause(QEvent::KeyPress, Qt::Key_Pause, Qt::ControlModifier | Qt::AltModifier);
    QCoreApplication::sendEvent(view, &pause);
    EXPECT_EQ(unusable, (std::vector<std::string>{"Print", ""}));
    EXPECT_TRUE(recorder.isListening());

    // No scan code, as synthetic events come: the Qt key tells the place. Super is Command.
    QKeyEvent chord(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier | Qt::MetaModifier);
    QCoreApplication::sendEvent(view, &chord);
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded.front(), (HotKeyChord{0, HotKeyChord::kControlCommand}));
    EXPECT_FALSE(recorder.isListening());

    // Hidden while listening, it stops without recording and gives the shortcuts back.
    QCoreApplication::sendEvent(view, &click);
    ASSERT_TRUE(w.world.hotKeys.isSuspended());
    view->hide();
    EXPECT_FALSE(recorder.isListening());
    EXPECT_FALSE(w.world.hotKeys.isSuspended());
    EXPECT_EQ(recorded.size(), 1u);
}

}  // namespace
}  // namespace quillbern
