#pragma once

typedef struct _GDBusConnection GDBusConnection;

namespace quillbern {

// The session bus may go away while the program runs. GIO ends a process whose shared
// connection to that bus closes, and every GIO user in the process (settings, launches,
// file types) shares that one connection: while a SessionBusLoss lives, it holds the
// connection with that ending switched off, so GIO never makes another one that would end
// the process, and logs the loss once. Main thread; takes a bus only where Qt found one, so
// no bus is started for it.
class SessionBusLoss {
public:
    SessionBusLoss();
    ~SessionBusLoss();
    SessionBusLoss(const SessionBusLoss&) = delete;
    SessionBusLoss& operator=(const SessionBusLoss&) = delete;

private:
    GDBusConnection* bus_ = nullptr;
    unsigned long closed_ = 0;
};

}  // namespace quillbern
