#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

#include "PrivateBus.h"
#include "core/windows/PreviewStore.h"
#include "core/windows/WindowEngine.h"
#include "linux/dbus/DBusSessionEvents.h"
#include "sim/SimLauncher.h"
#include "sim/SimLog.h"
#include "sim/SimSessionEvents.h"
#include "sim/SimWindowCapture.h"
#include "windows/WindowWorld.h"

namespace quillbern {
namespace {

using testing::PrivateBus;
using testing::spinEventsUntil;

const QString kManagerPath = QStringLiteral("/org/freedesktop/login1");
const QString kSessionPath = QStringLiteral("/org/freedesktop/login1/session/_31");

// Just enough of logind: it finds the session of any process, or of none, and announces
// sleep, wake and the session's lock requests.
class FakeLogind final : public QDBusVirtualObject {
public:
    explicit FakeLogind(QDBusConnection connection) : connection_(std::move(connection)) {
        connection_.registerVirtualObject(kManagerPath, this, QDBusConnection::SubPath);
        connection_.interface()->registerService(QStringLiteral("org.freedesktop.login1"));
    }
    ~FakeLogind() override { connection_.unregisterObject(kManagerPath); }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != QStringLiteral("GetSessionByPID")) return false;
        ++lookups;
        connection.send(
            hasSession ? message.createReply(QVariant::fromValue(QDBusObjectPath(kSessionPath)))
                       : message.createErrorReply(QStringLiteral("org.freedesktop.login1.NoSessionForPID"),
                                                  QStringLiteral("PID 1234 does not belong to any known session")));
        return true;
    }
    QString introspect(const QString&) const override { return {}; }

    void sleep(bool start) {
        signal(kManagerPath, QStringLiteral("org.freedesktop.login1.Manager"), "PrepareForSleep", start);
    }
    void lock(bool locked) {
        signal(kSessionPath, QStringLiteral("org.freedesktop.login1.Session"), locked ? "Lock" : "Unlock",
               std::nullopt);
    }

    bool hasSession = true;
    std::atomic<int> lookups = 0;

private:
    void signal(const QString& path, const QString& interface, const char* name, std::optional<bool> argument) {
        QDBusMessage message = QDBusMessage::createSignal(path, interface, QString::fromLatin1(name));
        if (argument) message << *argument;
        connection_.send(message);
    }
    QDBusConnection connection_;
};

void announceScreenSaver(QDBusConnection& connection, const QString& service, bool active) {
    QDBusMessage message = QDBusMessage::createSignal(QStringLiteral("/") + QString(service).replace('.', '/'), service,
                                                      QStringLiteral("ActiveChanged"));
    message << active;
    connection.send(message);
}

class SessionNotices : public ::testing::Test {
protected:
    static inline int connections = 0;
    SimLog log;
    PrivateBus bus;
    QDBusConnection system = connect("system");
    QDBusConnection session = connect("session");
    QDBusConnection logindConnection = connect("logind");
    QDBusConnection saverConnection = connect("saver");
    std::unique_ptr<FakeLogind> logind;
    SimSessionEvents desktop;
    std::unique_ptr<DBusSessionEvents> events;
    std::map<SessionEvent, int> heard;
    std::vector<Subscription> listeners;

    QDBusConnection connect(const char* role) {
        return bus.connect(QStringLiteral("%1-%2").arg(QString::fromLatin1(role)).arg(++connections));
    }
    void SetUp() override {
        ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start";
        logind = std::make_unique<FakeLogind>(logindConnection);
        saverConnection.interface()->registerService(QStringLiteral("org.freedesktop.ScreenSaver"));
        saverConnection.interface()->registerService(QStringLiteral("org.gnome.ScreenSaver"));
    }
    void open() {
        events = std::make_unique<DBusSessionEvents>(desktop, system, session);
        for (const SessionEvent event : {SessionEvent::willSleep, SessionEvent::didWake, SessionEvent::screenLocked,
                                         SessionEvent::screenUnlocked, SessionEvent::desktopChanged})
            listeners.push_back(events->on(event, [this, event] { ++heard[event]; }));
        // The login session is looked up while the program starts.
        ASSERT_TRUE(spinEventsUntil([this] { return logind->lookups == 1; }));
        if (logind->hasSession) {
            ASSERT_TRUE(spinEventsUntil([this] { return events->hearsSessionLocks(); }));
        }
        settle();
    }
    // Everything sent so far has reached the notices: a round trip on each fake's connection
    // (the bus has passed on what it sent before), then on the program's (they have read
    // it), then the events that queued. The bus keeps no order between two senders.
    void settle() {
        for (QDBusConnection* connection : {&logindConnection, &saverConnection, &system, &session})
            connection->interface()->isServiceRegistered(QStringLiteral("org.freedesktop.DBus"));
        QCoreApplication::processEvents();
    }
    bool hears(SessionEvent event, int times) {
        return spinEventsUntil([&] { return heard[event] >= times; });
    }
};

TEST_F(SessionNotices, SleepWakeAndLocksOfLogindAndTheScreenSaverAreHeard) {
    open();
    logind->sleep(true);
    EXPECT_TRUE(hears(SessionEvent::willSleep, 1));
    logind->sleep(false);
    EXPECT_TRUE(hears(SessionEvent::didWake, 1));
    logind->lock(true);
    EXPECT_TRUE(hears(SessionEvent::screenLocked, 1));
    logind->lock(false);
    EXPECT_TRUE(hears(SessionEvent::screenUnlocked, 1));
    announceScreenSaver(saverConnection, QStringLiteral("org.freedesktop.ScreenSaver"), true);
    EXPECT_TRUE(hears(SessionEvent::screenLocked, 2));
    announceScreenSaver(saverConnection, QStringLiteral("org.gnome.ScreenSaver"), false);
    EXPECT_TRUE(hears(SessionEvent::screenUnlocked, 2));
    EXPECT_EQ(heard[SessionEvent::willSleep], 1);
    EXPECT_EQ(heard[SessionEvent::didWake], 1);
}

TEST_F(SessionNotices, ALockHeardFromBothSourcesCountsOnce) {
    open();
    logind->lock(true);
    announceScreenSaver(saverConnection, QStringLiteral("org.freedesktop.ScreenSaver"), true);
    settle();
    EXPECT_EQ(heard[SessionEvent::screenLocked], 1);
    announceScreenSaver(saverConnection, QStringLiteral("org.freedesktop.ScreenSaver"), false);
    logind->lock(false);
    settle();
    EXPECT_EQ(heard[SessionEvent::screenUnlocked], 1);
}

TEST_F(SessionNotices, OnlyTheOwnersOfTheNamesAreHeard) {
    open();
    QDBusConnection stranger = connect("stranger");
    stranger.send(QDBusMessage::createSignal(kManagerPath, QStringLiteral("org.freedesktop.login1.Manager"),
                                             QStringLiteral("PrepareForSleep"))
                  << true);
    announceScreenSaver(stranger, QStringLiteral("org.freedesktop.ScreenSaver"), true);
    logind->sleep(false);
    stranger.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.DBus"));
    settle();
    EXPECT_EQ(heard[SessionEvent::didWake], 1);
    EXPECT_EQ(heard[SessionEvent::willSleep], 0);
    EXPECT_EQ(heard[SessionEvent::screenLocked], 0);
}

TEST_F(SessionNotices, OutsideALoginSessionLocksComeFromTheScreenSaverOnly) {
    logind->hasSession = false;
    open();
    ASSERT_TRUE(spinEventsUntil([this] { return log.contains("no login session found for this program"); }));
    EXPECT_TRUE(log.contains("PID 1234 does not belong to any known session"));
    logind->lock(true);
    logind->sleep(true);
    ASSERT_TRUE(hears(SessionEvent::willSleep, 1));
    EXPECT_EQ(heard[SessionEvent::screenLocked], 0);
    announceScreenSaver(saverConnection, QStringLiteral("org.freedesktop.ScreenSaver"), true);
    EXPECT_TRUE(hears(SessionEvent::screenLocked, 1));
}

TEST_F(SessionNotices, DesktopSwitchesComeFromTheDesktop) {
    open();
    desktop.fire(SessionEvent::desktopChanged);
    EXPECT_EQ(heard[SessionEvent::desktopChanged], 1);
}

TEST(SessionNoticesWithoutBuses, NothingIsHeardAndEachMissingBusIsLoggedOnce) {
    SimLog log;
    SimSessionEvents desktop;
    const QDBusConnection none =
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("no-bus"));
    ASSERT_FALSE(none.isConnected());
    DBusSessionEvents events(desktop, none, none);
    EXPECT_EQ(log.count("no system message bus: sleep and wake are not noticed"), 1);
    EXPECT_EQ(log.count("no session message bus: the screen saver's locks are not noticed"), 1);
    EXPECT_EQ(log.lines().size(), 2u);
}

// The real notices, from a fake logind on a private bus, reaching the stores that act on them.
class SessionNoticesInTheStores : public SessionNotices {
protected:
    testing::WindowWorld w;
    SimLauncher launcher;
    SimWindowCapture capture{w.world.clock};
    std::optional<PreviewStore> previews;
    std::optional<WindowEngine> engine;
    ElementRef window;

    void SetUp() override {
        SessionNotices::SetUp();
        open();
        w.world.defaults.set(PreviewStore::kEnabledKey, true);
        std::vector<CapturableWindow> capturable;
        for (WindowId id = 1; id <= 5; ++id)
            capturable.push_back({id, {1200, 800}, 2});
        capture.setWindows(capturable);
        previews.emplace(PreviewStore::Ports{.defaults = w.world.defaults,
                                             .permissions = w.permissions,
                                             .launcher = launcher,
                                             .screens = w.world.screens,
                                             .session = *events,
                                             .capture = capture,
                                             .clock = w.world.clock,
                                             .mainLoop = w.world.mainLoop});
        engine.emplace(w.world.enginePorts(*events));
        window = w.windows.addWindow(10, {.id = 21, .title = "Before", .frame = {0, 0, 100, 100}});
        RunningApp editor;
        editor.pid = 10;
        editor.name = "Editor";
        w.world.apps.launch(editor);
        engine->start();
        w.world.advance(AXWorker::kDebounce);
    }
    void TearDown() override {
        engine->stop();
        w.world.runUntilIdle();
    }
    void cachePictures() {
        for (WindowId id = 1; id <= 3; ++id) {
            previews->hover(WindowInfo{.id = id, .pid = 10, .appName = "Editor", .title = "W", .displayID = 1});
            w.world.advance(PreviewStore::kCaptureDelay);
        }
        previews->hover(std::nullopt);
        ASSERT_EQ(previews->cachedCount(), 3u);
    }
    std::string title() const { return engine->snapshot().windows.at(0).title; }
};

TEST_F(SessionNoticesInTheStores, SleepAndLockEmptyThePicturesAndWakeAndUnlockLookAtTheWindowsAgain) {
    ASSERT_EQ(title(), "Before");
    cachePictures();
    logind->sleep(true);
    ASSERT_TRUE(hears(SessionEvent::willSleep, 1));
    EXPECT_EQ(previews->cachedCount(), 0u);

    w.windows.set(window, Attribute::title, "After the wake");
    logind->sleep(false);
    ASSERT_TRUE(hears(SessionEvent::didWake, 1));
    w.world.advance(AXWorker::kDebounce);
    EXPECT_EQ(title(), "After the wake") << "well before the next periodic pass";

    cachePictures();
    logind->lock(true);
    ASSERT_TRUE(hears(SessionEvent::screenLocked, 1));
    EXPECT_EQ(previews->cachedCount(), 0u);

    w.windows.set(window, Attribute::title, "After the unlock");
    logind->lock(false);
    ASSERT_TRUE(hears(SessionEvent::screenUnlocked, 1));
    w.world.advance(AXWorker::kDebounce);
    EXPECT_EQ(title(), "After the unlock");
    EXPECT_LT(2 * AXWorker::kDebounce, AXWorker::kPeriodicInterval);
}

}  // namespace
}  // namespace quillbern
