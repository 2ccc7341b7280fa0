#pragma once

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>

class QLocalSocket;

namespace quillbern {

// The socket beside the single instance's lock, through which later starts hand over their
// URLs. The instance greets each start with a line; the start's message is one line of JSON
// (which writes line breaks in texts escaped), and the instance answers it once it holds it.
// Clients that connect and say nothing cannot use up the instance's descriptors: one that
// has not sent a whole message within two seconds is dropped, and so is the oldest waiting
// one when more come than the bound. A start that is dropped tries again; a new one is
// always greeted. Main thread.
class HandOverSocket final {
public:
    // `received` gets the URLs of each start, none for a start without arguments. Null when
    // nothing can listen at `path`.
    static std::unique_ptr<HandOverSocket> listen(const QString& path,
                                                  std::function<void(const QStringList& urls)> received);
    // Hands `urls` to the instance listening at `path` and waits, until `deadline`, for it to
    // confirm. False when nobody answers there or the instance ended before it confirmed.
    static bool send(const QString& path, const QStringList& urls, const QDeadlineTimer& deadline);

    HandOverSocket(const HandOverSocket&) = delete;
    HandOverSocket& operator=(const HandOverSocket&) = delete;

private:
    explicit HandOverSocket(std::function<void(const QStringList& urls)> received);
    void greetNewClients();
    void read(QLocalSocket* client, QByteArray& received);
    void drop(QLocalSocket* client);
    bool forget(QLocalSocket* client);

    std::function<void(const QStringList& urls)> received_;
    // Greeted, their message not whole yet; oldest first.
    std::deque<QLocalSocket*> waiting_;
    // Last, so its clients go, with whatever their handlers still tell, before the rest.
    QLocalServer server_;
};

}  // namespace quillbern
