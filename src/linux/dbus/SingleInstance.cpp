#include "linux/dbus/SingleInstance.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
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
#include <sys/file.h>

#include "core/foundation/Log.h"

namespace quillbern {

namespace {

const QString kApplicationInterface = QStringLiteral("org.freedesktop.Application");
// How long a start tries to become the instance or reach it; every wait is bounded.
constexpr int kClaimLimitMs = 2000;
// More than any list of URLs a start is given; a longer message is dropped.
constexpr qint64 kMessageLimit = 1 << 20;

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

}  // namespace

SingleInstance::SingleInstance() = default;

SingleInstance::~SingleInstance() {
    endpoint_.reset();
    if (lockFd_ >= 0) ::close(lockFd_);
}

SingleInstance::Claim SingleInstance::claim(const std::vector<std::string>& arguments) {
    Claim claim = QDBusConnection::sessionBus().isConnected() ? claimOnBus(arguments) : claimBySocket(arguments);
    if (claim.instance) claim.instance->deliver(arguments);
    return claim;
}

SingleInstance::Claim SingleInstance::claimOnBus(const std::vector<std::string>& arguments) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString name = QString::fromLatin1(kBusName);
    const QDeadlineTimer deadline(kClaimLimitMs);
    do {
        auto instance = std::unique_ptr<SingleInstance>(new SingleInstance());
        // The object stands before the name is taken, so no call can find the name without it.
        if (!instance->listenOnBus()) {
            log("the session bus refused this program's object ", kObjectPath,
                "; other starts are met through the runtime directory instead");
            return claimBySocket(arguments);
        }
        const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> taken = bus.interface()->registerService(
            name, QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
        if (!taken.isValid()) {
            log("the session bus refused the name ", kBusName, " (",
                escapedForLog(taken.error().message().toStdString()),
                "); other starts are met through the runtime directory instead");
            return claimBySocket(arguments);
        }
        if (taken.value() == QDBusConnectionInterface::ServiceRegistered)
            return {Outcome::instance, std::move(instance)};
        instance.reset();

        QDBusMessage call =
            QDBusMessage::createMethodCall(name, QString::fromLatin1(kObjectPath), kApplicationInterface,
                                           arguments.empty() ? QStringLiteral("Activate") : QStringLiteral("Open"));
        if (!arguments.empty()) call << toQt(arguments);
        call << QVariantMap();
        call.setAutoStartService(false);
        bus.send(call);
        // A round trip to the bus after the call: the call has reached the bus by its answer,
        // and the instance that holds the name gets it even after this process ends.
        if (bus.interface()->isServiceRegistered(name).value()) return {Outcome::handedOver, nullptr};
        // The instance ended in between: try again to become it.
    } while (!deadline.hasExpired());
    log("the running Quillbern could not be reached on the session bus");
    return {Outcome::failed, nullptr};
}

bool SingleInstance::listenOnBus() {
    auto object = std::make_unique<ApplicationObject>(
        [this](std::vector<std::string> urls) { deliver(std::move(urls)); }, [this] { reopen(); });
    if (!QDBusConnection::sessionBus().registerObject(QString::fromLatin1(kObjectPath), object.get(),
                                                      QDBusConnection::ExportAllSlots))
        return false;
    endpoint_ = std::move(object);
    return true;
}

SingleInstance::Claim SingleInstance::claimBySocket(const std::vector<std::string>& arguments) {
    const QString directory = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (directory.isEmpty() || !QDir().mkpath(directory)) {
        log("no runtime directory ($XDG_RUNTIME_DIR) to meet other starts of this program in; set it to a folder "
            "only you can write to");
        return {Outcome::failed, nullptr};
    }
    const QString lockPath = directory + QStringLiteral("/quillbern.lock");
    const QString socketPath = directory + QStringLiteral("/quillbern.socket");
    const QByteArray message =
        QJsonDocument(QJsonArray::fromStringList(toQt(arguments))).toJson(QJsonDocument::Compact);
    const QDeadlineTimer deadline(kClaimLimitMs);
    do {
        const int fd = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) {
            log("cannot open ", escapedForLog(lockPath.toStdString()), ": ", std::strerror(errno));
            return {Outcome::failed, nullptr};
        }
        // The kernel lets go of the lock when its holder ends, however it ends.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            auto instance = std::unique_ptr<SingleInstance>(new SingleInstance());
            if (!instance->listenOnSocket(fd, socketPath))
                log("later starts cannot reach this one: ", escapedForLog(socketPath.toStdString()),
                    " cannot be listened on");
            return {Outcome::instance, std::move(instance)};
        }
        ::close(fd);
        QLocalSocket socket;
        socket.connectToServer(socketPath);
        if (socket.waitForConnected(200)) {
            socket.write(message);
            const bool written = socket.waitForBytesWritten(kClaimLimitMs);
            socket.disconnectFromServer();
            if (written) return {Outcome::handedOver, nullptr};
        } else {
            // The instance is between taking the lock and listening, or is ending.
            QThread::msleep(20);
        }
    } while (!deadline.hasExpired());
    log("the running Quillbern could not be reached through ", escapedForLog(socketPath.toStdString()));
    return {Outcome::failed, nullptr};
}

bool SingleInstance::listenOnSocket(int lockFd, const QString& socketPath) {
    lockFd_ = lockFd;
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // Whatever is left there belongs to an instance that has ended: the lock is ours.
    QLocalServer::removeServer(socketPath);
    if (!server->listen(socketPath)) return false;
    QLocalServer* const listening = server.get();
    QObject::connect(listening, &QLocalServer::newConnection, listening, [this, listening] {
        while (QLocalSocket* socket = listening->nextPendingConnection()) {
            auto received = std::make_shared<QByteArray>();
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, received] {
                received->append(socket->readAll());
                if (received->size() > kMessageLimit) socket->abort();
            });
            QObject::connect(socket, &QLocalSocket::disconnected, socket, [this, socket, received] {
                received->append(socket->readAll());
                socket->deleteLater();
                const QJsonDocument document = QJsonDocument::fromJson(*received);
                if (received->size() > kMessageLimit || !document.isArray()) {
                    log("dropped a message from another start that could not be read");
                    return;
                }
                QStringList urls;
                for (const auto& item : document.array())
                    urls.push_back(item.toString());
                if (urls.isEmpty()) {
                    reopen();
                } else {
                    deliver(fromQt(urls));
                }
            });
        }
    });
    endpoint_ = std::move(server);
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
