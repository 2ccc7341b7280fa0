// A stand-in file manager for the end-to-end walks: owns org.freedesktop.FileManager1 on
// the session bus and writes every URI that ShowItems asks for as a line to standard
// output.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <cstdio>

namespace {

class FileManager final : public QDBusVirtualObject {
public:
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != QStringLiteral("ShowItems")) return false;
        for (const QString& uri : message.arguments().value(0).toStringList())
            std::printf("%s\n", uri.toUtf8().constData());
        std::fflush(stdout);
        connection.send(message.createReply());
        return true;
    }
    QString introspect(const QString&) const override { return {}; }
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    FileManager manager;
    if (!bus.registerVirtualObject(QStringLiteral("/org/freedesktop/FileManager1"), &manager) ||
        !bus.interface()->registerService(QStringLiteral("org.freedesktop.FileManager1")).isValid()) {
        std::fprintf(stderr, "cannot own org.freedesktop.FileManager1\n");
        return 1;
    }
    std::fprintf(stderr, "ready\n");
    return QCoreApplication::exec();
}
