#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <functional>

namespace quillbern::testing {

// A message bus of the test's own (dbus-daemon with the session configuration), so no
// test talks to the buses of the machine it runs on. Ends with the object.
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool isRunning() const { return !address_.isEmpty(); }
    const QString& address() const { return address_; }
    // A new connection of its own to the bus; `name` must be unique in the process.
    QDBusConnection connect(const QString& name) const;

private:
    QProcess daemon_;
    QString address_;
};

// Runs the Qt event loop until `done` answers true or the limit passes.
bool spinEventsUntil(const std::function<bool()>& done, int limitMs = 5000);

}  // namespace quillbern::testing
