#include "linux/dbus/SingleInstance.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusReply>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMetaObject>
#include <QStandardPaths>
#include <QThread>
#include <QVariantMap>
#include <cerrno>
#include <cstring>
#include <optional>
#include <sys/file.h>

#include "core/foundation/Log.h"

namespace quillbern {

namespace {

const QString kApplicationInterface = QStringLiteral("org.freedesktop.Application");
// How long a start tries to become the instance or to reach it: more than the instance
// takes to start up or to shut down, when it cannot answer.
constexpr int kClaimLimitMs = 10000;
// More than any list of URLs a start is given; a longer message is dropped.
constexpr qint64 kMessageLimit = 1 << 20;
// The instance greets each start with a line; the start's message is one line of JSON (which
// writes line breaks in texts escaped), and the instance answers it once it holds it.
constexpr char kReady[] = "ready\n";
constexpr char kReceived[] = "received\n";

std::vector<std::string> fromQt(const QStringList& list) {
    std::vector<std::string> result;
    for (const QString& item : list)
        result.push_back(item.toStdString());
    return result;
}

QStringList toQt(const std::vector<std::string>& list) {
    QStringList result;
    for (const std::string& item : list)
        result.push_back(QString::fromStdString(item));
    return result;
}

// The instance's face on the session bus.
class ApplicationObject final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public:
    ApplicationObject(std::function<void(std::vector<std::string>)> open, std::function<void()> activate)
        : open_(std::move(open)), activate_(std::move(activate)) {}

public Q_SLOTS:
    void Activate([[maybe_unused]] const QVariantMap& platformData) { activate_(); }
    void Open(const QStringList& uris, [[maybe_unused]] const QVariantMap& platformData) { open_(fromQt(uris)); }
    void ActivateAction(const QString& actionName, [[maybe_unused]] const QVariantList& parameter,
                        [[maybe_unused]] const QVariantMap& platformData) {
        sendErrorReply(QDBusError::NotSupported, QStringLiteral("Quillbern has no action named ") + actionName);
    }

private:
    std::function<void(std::vector<std::string>)> open_;
    std::function<void()> activate_;
};

// Reads one line, until `deadline`; empty when the other end closed first or said nothing.
QByteArray lineFrom(QLocalSocket& socket, const QDeadlineTimer& deadline) {
    QByteArray line;
    while (!line.contains('\n') && socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
        line.append(socket.readAll());
    return line;
}

// Hands the message to the instance listening at `socketPath` and waits, until `deadline`,
// for it to confirm. False when nobody answers there or the instance ended before it
// confirmed.
bool handOverThrough(const QString& socketPath, const QByteArray& message, const QDeadlineTimer& deadline) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) return false;
    // Sent only to an instance that answers, so an instance that hangs never runs it later
    // behind the back of a start that gave up; and sent once: sent again, it would run twice.
    if (lineFrom(socket, deadline) != kReady) return false;
    socket.write(message);
    socket.flush();
    return lineFrom(socket, deadline) == kReceived;
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

SingleInstance::SingleInstance(int lockFd) : lockFd_(lockFd) {}

SingleInstance::~SingleInstance() {
    busObject_.reset();
    server_.reset();
    ::close(lockFd_);
}

SingleInstance::Claim SingleInstance::claim(const std::vector<std::string>& arguments) {
    return meet(arguments, true);
}

bool SingleInstance::handOver(const std::vector<std::string>& arguments) {
    return meet(arguments, false).outcome == Outcome::handedOver;
}

SingleInstance::Claim SingleInstance::meet(const std::vector<std::string>& arguments, bool mayRun) {
    const QString directory = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (directory.isEmpty() || !QDir().mkpath(directory)) {
        log("no runtime directory ($XDG_RUNTIME_DIR) to meet other starts of this program in; set it to a folder "
            "only you can write to");
        return {Outcome::failed, nullptr};
    }
    const QString lockPath = directory + QStringLiteral("/quillbern.lock");
    const QString socketPath = directory + QStringLiteral("/quillbern.socket");
    const QByteArray message =
        QJsonDocument(QJsonArray::fromStringList(toQt(arguments))).toJson(QJsonDocument::Compact) + '\n';
    const QDeadlineTimer deadline(kClaimLimitMs);
    do {
        const int fd = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) {
            log("cannot open ", escapedForLog(lockPath.toStdString()), ": ", std::strerror(errno));
            return {Outcome::failed, nullptr};
        }
        // The kernel lets go of the lock when its holder ends, however it ends.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            if (!mayRun) {
                ::close(fd);
                return {Outcome::failed, nullptr};
            }
            auto instance = std::unique_ptr<SingleInstance>(new SingleInstance(fd));
            if (!instance->listenOnSocket(socketPath))
                log("later starts cannot reach this one: ", escapedForLog(socketPath.toStdString()),
                    " cannot be listened on");
            instance->listenOnBus();
            instance->deliver(arguments);
            return {Outcome::instance, std::move(instance)};
        }
        ::close(fd);
        if (handOverThrough(socketPath, message, deadline)) return {Outcome::handedOver, nullptr};
        // The instance is between taking the lock and listening, or has just ended.
        QThread::msleep(20);
    } while (!deadline.hasExpired());
    log("a running Quillbern holds ", escapedForLog(lockPath.toStdString()), " but did not answer through ",
        escapedForLog(socketPath.toStdString()), " within ", kClaimLimitMs / 1000, " s");
    return {Outcome::failed, nullptr};
}

void SingleInstance::listenOnBus() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    auto object = std::make_unique<ApplicationObject>(
        [this](std::vector<std::string> urls) { deliver(std::move(urls)); }, [this] { reopen(); });
    // The object stands before the name is taken, so no call can find the name without it.
    if (!bus.registerObject(QString::fromLatin1(kObjectPath), object.get(), QDBusConnection::ExportAllSlots)) {
        log("the session bus refused this program's object ", kObjectPath, "; other programs cannot reach it there");
        return;
    }
    busObject_ = std::move(object);
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> taken =
        bus.interface()->registerService(QString::fromLatin1(kBusName), QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    if (!taken.isValid()) {
        log("the session bus refused the name ", kBusName, " (", escapedForLog(taken.error().message().toStdString()),
            "); other programs cannot reach this one there");
    } else if (taken.value() != QDBusConnectionInterface::ServiceRegistered) {
        log("another program holds the name ", kBusName, " on the session bus");
    }
}

bool SingleInstance::listenOnSocket(const QString& socketPath) {
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // Whatever is left there belongs to an instance that has ended: the lock is ours.
    QLocalServer::removeServer(socketPath);
    if (!server->listen(socketPath)) return false;
    QLocalServer* const listening = server.get();
    QObject::connect(listening, &QLocalServer::newConnection, listening, [this, listening] {
        while (QLocalSocket* socket = listening->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            socket->write(kReady);
            auto received = std::make_shared<QByteArray>();
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket, received] {
                received->append(socket->readAll());
                const qsizetype end = received->indexOf('\n');
                if (end < 0 && received->size() <= kMessageLimit) return;
                if (end < 0) {
                    log("dropped a message from another start that was too long");
                    socket->abort();
                    return;
                }
                const std::optional<QStringList> urls = urlsIn(received->first(end));
                if (!urls) {
                    log("dropped a message from another start that could not be read");
                    socket->abort();
                    return;
                }
                // Told before the URLs run, which may take a while.
                socket->write(kReceived);
                socket->flush();
                socket->disconnectFromServer();
                if (urls->isEmpty()) {
                    reopen();
                } else {
                    deliver(fromQt(*urls));
                }
            });
        }
    });
    // A start that comes while this one shuts down meets no one, and waits for the lock.
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &context_,
                     [this] { server_.reset(); });
    server_ = std::move(server);
    return true;
}

Subscription SingleInstance::onOpenUrls(std::function<void(const std::vector<std::string>&)> handler) {
    if (!unheard_.empty() && batches_.connectionCount() == 0)
        QMetaObject::invokeMethod(
            &context_, [this] { deliverUnheard(); }, Qt::QueuedConnection);
    return batches_.connect(std::move(handler));
}

Subscription SingleInstance::onReopen(std::function<void()> handler) {
    if (reopenUnheard_ && reopens_.connectionCount() == 0)
        QMetaObject::invokeMethod(
            &context_, [this] { reopen(); }, Qt::QueuedConnection);
    reopenUnheard_ = false;
    return reopens_.connect(std::move(handler));
}

void SingleInstance::reopen() {
    if (reopens_.connectionCount() == 0) {
        reopenUnheard_ = true;
        return;
    }
    reopens_.emit();
}

void SingleInstance::deliver(std::vector<std::string> urls) {
    if (urls.empty()) return;
    if (batches_.connectionCount() == 0) {
        unheard_.push_back(std::move(urls));
        return;
    }
    batches_.emit(urls);
}

void SingleInstance::deliverUnheard() {
    for (auto& batch : std::exchange(unheard_, {}))
        deliver(std::move(batch));
}

}  // namespace quillbern

#include "SingleInstance.moc"
