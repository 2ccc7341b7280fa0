#include "linux/dbus/DBusSessionEvents.h"

#include <unistd.h>

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include "core/foundation/Log.h"

namespace quillbern {

namespace {

const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kLogindPath = QStringLiteral("/org/freedesktop/login1");
const QString kLogindManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kLogindSession = QStringLiteral("org.freedesktop.login1.Session");
// The freedesktop name, and GNOME's own, which GNOME Shell announces its lock screen on.
const QString kScreenSavers[] = {QStringLiteral("org.freedesktop.ScreenSaver"),
                                 QStringLiteral("org.gnome.ScreenSaver")};

}  // namespace

DBusSessionEvents::DBusSessionEvents(SessionEvents& desktop, const QDBusConnection& system,
                                     const QDBusConnection& session)
    : desktop_(desktop), system_(system), session_(session) {
    listenToLoginManager();
    listenToScreenSaver();
}

DBusSessionEvents::~DBusSessionEvents() = default;

Subscription DBusSessionEvents::on(SessionEvent event, Task task) {
    if (event == SessionEvent::desktopChanged) return desktop_.on(event, std::move(task));
    return signals_[event].connect(std::move(task));
}

void DBusSessionEvents::listenToLoginManager() {
    if (!system_.isConnected()) {
        log("no system message bus: sleep and wake are not noticed, and locks only through the screen saver");
        return;
    }
    system_.connect(kLogind, kLogindPath, kLogindManager, QStringLiteral("PrepareForSleep"), this,
                    SLOT(prepareForSleep(bool)));
    // Asked without waiting: the answer comes while the program starts.
    QDBusMessage lookup =
        QDBusMessage::createMethodCall(kLogind, kLogindPath, kLogindManager, QStringLiteral("GetSessionByPID"));
    lookup << static_cast<uint>(::getpid());
    auto* call = new QDBusPendingCallWatcher(system_.asyncCall(lookup), this);
    QObject::connect(call, &QDBusPendingCallWatcher::finished, this,
                     [this](QDBusPendingCallWatcher* finished) { listenToLoginSession(finished); });
}

void DBusSessionEvents::listenToLoginSession(QDBusPendingCallWatcher* call) {
    call->deleteLater();
    const QDBusPendingReply<QDBusObjectPath> reply = *call;
    if (reply.isError()) {
        log("no login session found for this program (", escapedForLog(reply.error().message().toStdString()),
            "): locks are noticed only through the screen saver");
        return;
    }
    const QString path = reply.value().path();
    system_.connect(kLogind, path, kLogindSession, QStringLiteral("Lock"), this, SLOT(sessionLocked()));
    system_.connect(kLogind, path, kLogindSession, QStringLiteral("Unlock"), this, SLOT(sessionUnlocked()));
    hearsSessionLocks_ = true;
}

void DBusSessionEvents::listenToScreenSaver() {
    if (!session_.isConnected()) {
        log("no session message bus: the screen saver's locks are not noticed");
        return;
    }
    for (const QString& saver : kScreenSavers)
        session_.connect(saver, QString(), saver, QStringLiteral("ActiveChanged"), this,
                         SLOT(screenSaverActiveChanged(bool)));
}

void DBusSessionEvents::prepareForSleep(bool start) {
    signals_[start ? SessionEvent::willSleep : SessionEvent::didWake].emit();
}

void DBusSessionEvents::sessionLocked() {
    setLocked(true);
}

void DBusSessionEvents::sessionUnlocked() {
    setLocked(false);
}

void DBusSessionEvents::screenSaverActiveChanged(bool active) {
    setLocked(active);
}

void DBusSessionEvents::setLocked(bool locked) {
    if (locked == locked_) return;
    locked_ = locked;
    signals_[locked ? SessionEvent::screenLocked : SessionEvent::screenUnlocked].emit();
}

}  // namespace quillbern
