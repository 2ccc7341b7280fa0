#include "linux/dbus/HandOverSocket.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalSocket>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <optional>

#include "core/foundation/Log.h"

namespace quillbern {

namespace {

// More than any list of URLs a start is given; a longer message is dropped.
constexpr qint64 kMessageLimit = 1 << 20;
// A start sends its message as soon as it is greeted, whatever its length.
constexpr std::chrono::seconds kMessageTimeLimit{2};
// Far more than the starts of a session at one moment, far fewer than the descriptors the
// program may hold.
constexpr std::size_t kWaitingLimit = 64;
constexpr char kReady[] = "ready\n";
constexpr char kReceived[] = "received\n";

// Reads one line, until `deadline`; empty when the other end closed first or said nothing.
QByteArray lineFrom(QLocalSocket& socket, const QDeadlineTimer& deadline) {
    QByteArray line;
    while (!line.contains('\n') && socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
        line.append(socket.readAll());
    return line;
}

// The URLs of a message from another start; none when it cannot be read.
std::optional<QStringList> urlsIn(const QByteArray& message) {
    const QJsonDocument document = QJsonDocument::fromJson(message);
    if (!document.isArray()) return std::nullopt;
    QStringList urls;
    for (const auto& item : document.array())
        urls.push_back(item.toString());
    return urls;
}

}  // namespace

std::unique_ptr<HandOverSocket> HandOverSocket::listen(const QString& path,
                                                       std::function<void(const QStringList& urls)> received) {
    auto socket = std::unique_ptr<HandOverSocket>(new HandOverSocket(std::move(received)));
    socket->server_.setSocketOptions(QLocalServer::UserAccessOption);
    // Whatever is left there belongs to an instance that has ended: the lock is ours.
    QLocalServer::removeServer(path);
    if (!socket->server_.listen(path)) return nullptr;
    return socket;
}

HandOverSocket::HandOverSocket(std::function<void(const QStringList& urls)> received) : received_(std::move(received)) {
    QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] { greetNewClients(); });
}

bool HandOverSocket::send(const QString& path, const QStringList& urls, const QDeadlineTimer& deadline) {
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) return false;
    // Sent only to an instance that answers, so an instance that hangs never runs it later
    // behind the back of a start that gave up; and sent once: sent again, it would run twice.
    if (lineFrom(socket, deadline) != kReady) return false;
    socket.write(QJsonDocument(QJsonArray::fromStringList(urls)).toJson(QJsonDocument::Compact) + '\n');
    socket.flush();
    return lineFrom(socket, deadline) == kReceived;
}

void HandOverSocket::greetNewClients() {
    while (QLocalSocket* client = server_.nextPendingConnection()) {
        if (waiting_.size() == kWaitingLimit) drop(waiting_.front());
        waiting_.push_back(client);
        QObject::connect(client, &QLocalSocket::disconnected, client, [this, client] {
            forget(client);
            client->deleteLater();
        });
        auto received = std::make_shared<QByteArray>();
        QObject::connect(client, &QLocalSocket::readyRead, client,
                         [this, client, received] { read(client, *received); });
        QTimer::singleShot(kMessageTimeLimit, client, [this, client] { drop(client); });
        client->write(kReady);
    }
}

void HandOverSocket::read(QLocalSocket* client, QByteArray& received) {
    if (std::ranges::find(waiting_, client) == waiting_.end()) return;
    received.append(client->readAll());
    const qsizetype end = received.indexOf('\n');
    if (end < 0 && received.size() <= kMessageLimit) return;
    if (end < 0) {
        log("dropped a message from another start that was too long");
        drop(client);
        return;
    }
    const std::optional<QStringList> urls = urlsIn(received.first(end));
    if (!urls) {
        log("dropped a message from another start that could not be read");
        drop(client);
        return;
    }
    forget(client);
    // Told before the URLs run, which may take a while.
    client->write(kReceived);
    client->flush();
    client->disconnectFromServer();
    received_(*urls);
}

// A client that is no longer waiting has been answered or dropped already.
void HandOverSocket::drop(QLocalSocket* client) {
    if (!forget(client)) return;
    client->abort();
    client->deleteLater();
}

bool HandOverSocket::forget(QLocalSocket* client) {
    return std::erase(waiting_, client) > 0;
}

}  // namespace quillbern
