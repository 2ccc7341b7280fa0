#pragma once

#include <QDBusConnection>
#include <QObject>
#include <map>

#include "core/foundation/Signal.h"
#include "core/platform/SessionEvents.h"

class QDBusPendingCallWatcher;

namespace quillbern {

// Sleep, wake and screen-lock notices, heard on the message buses: logind's PrepareForSleep
// and the login session's Lock and Unlock on the system bus, and the screen saver's
// ActiveChanged on the session bus. A lock heard from both counts once. Desktop switches
// come from `desktop`. A bus that is missing gives no notices, which is logged once.
// Main thread.
class DBusSessionEvents final : public QObject, public SessionEvents {
    Q_OBJECT
public:
    DBusSessionEvents(SessionEvents& desktop, const QDBusConnection& system, const QDBusConnection& session);
    ~DBusSessionEvents() override;

    Subscription on(SessionEvent event, Task task) override;
    // Whether the login session's Lock and Unlock are listened to: once logind has named
    // the session, which it does a moment after the start.
    bool hearsSessionLocks() const { return hearsSessionLocks_; }

private Q_SLOTS:
    void prepareForSleep(bool start);
    void sessionLocked();
    void sessionUnlocked();
    void screenSaverActiveChanged(bool active);

private:
    void listenToLoginManager();
    void listenToLoginSession(QDBusPendingCallWatcher* call);
    void listenToScreenSaver();
    void setLocked(bool locked);

    SessionEvents& desktop_;
    QDBusConnection system_;
    QDBusConnection session_;
    std::map<SessionEvent, Signal<>> signals_;
    bool locked_ = false;
    bool hearsSessionLocks_ = false;
};

}  // namespace quillbern
