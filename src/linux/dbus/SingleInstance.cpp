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
#include <QMetaObject>
#include <QStandardPaths>
#include <QThread>
#include <QVariantMap>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/file.h>
#include <sys/stat.h>

#include "core/foundation/Log.h"
#include "core/model/AppRelauncher.h"
#include "linux/dbus/HandOverSocket.h"

namespace quillbern {

namespace {

const QString kApplicationInterface = QStringLiteral("org.freedesktop.Application");
// How long a start tries to become the instance or to reach it: more than the instance
// takes to start up or to shut down, when it cannot answer.
constexpr int kClaimLimitMs = 10000;

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

SingleInstance::SingleInstance(int lockFd) : lockFd_(lockFd) {}

SingleInstance::~SingleInstance() {
    // Given back before the lock, so the start that takes the lock next (a relaunch) finds the
    // name free.
    if (holdsBusName_) QDBusConnection::sessionBus().unregisterService(QString::fromLatin1(kBusName));
    busObject_.reset();
    handOverSocket_.reset();
    ::close(lockFd_);
}

SingleInstance::Claim SingleInstance::claim(const std::vector<std::string>& arguments, Start start) {
    return meet(arguments, true, start);
}

SingleInstance::Start SingleInstance::takeStart() {
    const bool relaunch = std::getenv(AppRelauncher::kRelaunchVariable) != nullptr;
    ::unsetenv(AppRelauncher::kRelaunchVariable);
    return relaunch ? Start::relaunch : Start::plain;
}

bool SingleInstance::handOver(const std::vector<std::string>& arguments) {
    return meet(arguments, false, Start::plain).outcome == Outcome::handedOver;
}

SingleInstance::Claim SingleInstance::meet(const std::vector<std::string>& arguments, bool mayRun, Start start) {
    const QString directory = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (directory.isEmpty() || !QDir().mkpath(directory)) {
        log("no runtime directory ($XDG_RUNTIME_DIR) to meet other starts of this program in; set it to a folder "
            "only you can write to");
        return {Outcome::failed, nullptr};
    }
    const QString lockPath = directory + QStringLiteral("/quillbern.lock");
    const QString socketPath = directory + QStringLiteral("/quillbern.socket");
    const QStringList urls = toQt(arguments);
    const int waitMs = start == Start::relaunch ? kClaimLimitMs : 0;
    const QDeadlineTimer handsOverFrom(waitMs);
    const QDeadlineTimer deadline(waitMs + kClaimLimitMs);
    do {
        // Never through a link, nor blocking on a FIFO: only our own regular file is the lock.
        const int fd = ::open(QFile::encodeName(lockPath).constData(),
                              O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
        struct stat facts {};
        if (fd < 0 || ::fstat(fd, &facts) != 0 || !S_ISREG(facts.st_mode)) {
            const int error = fd < 0 ? errno : EINVAL;
            if (fd >= 0) ::close(fd);
            log("cannot use ", escapedForLog(lockPath.toStdString()), " as the lock of this program: ",
                error == ELOOP    ? "it is a symbolic link"
                : error == EINVAL ? "it is not a regular file"
                                  : std::strerror(error),
                "; remove it and start Quillbern again");
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
        if (handsOverFrom.hasExpired() && HandOverSocket::send(socketPath, urls, deadline))
            return {Outcome::handedOver, nullptr};
        // The instance is between taking the lock and listening, or has just ended.
        QThread::msleep(20);
    } while (!deadline.hasExpired());
    log("a running Quillbern holds ", escapedForLog(lockPath.toStdString()), " but did not answer through ",
        escapedForLog(socketPath.toStdString()), " within ", (waitMs + kClaimLimitMs) / 1000, " s");
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
    } else {
        holdsBusName_ = true;
    }
}

bool SingleInstance::listenOnSocket(const QString& socketPath) {
    handOverSocket_ = HandOverSocket::listen(socketPath, [this](const QStringList& urls) {
        if (urls.isEmpty()) {
            reopen();
        } else {
            deliver(fromQt(urls));
        }
    });
    if (!handOverSocket_) return false;
    // A start that comes while this one shuts down meets no one, and waits for the lock.
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &context_,
                     [this] { handOverSocket_.reset(); });
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
