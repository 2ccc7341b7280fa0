#include "ui/dock/ItemIcons.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

namespace quillbern {

namespace {

QString desktopEntryPath(const PinnedApp& app) {
    if (app.fallbackPath && app.fallbackPath->ends_with(".desktop") &&
        QFileInfo::exists(QString::fromStdString(*app.fallbackPath))) {
        return QString::fromStdString(*app.fallbackPath);
    }
    return QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                  QStringLiteral("applications/%1.desktop").arg(QString::fromStdString(app.bundleID)));
}

// The Icon= value of the entry's main group.
QString iconName(const QString& entryPath) {
    QFile file(entryPath);
    if (entryPath.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    QTextStream in(&file);
    bool inMainGroup = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(u'[')) {
            inMainGroup = line == QStringLiteral("[Desktop Entry]");
        } else if (inMainGroup && line.startsWith(QStringLiteral("Icon="))) {
            return line.mid(5).trimmed();
        }
    }
    return {};
}

QIcon appIcon(const PinnedApp& app) {
    const QString name = iconName(desktopEntryPath(app));
    if (!name.isEmpty() && QFileInfo(name).isAbsolute() && QFileInfo::exists(name)) return QIcon(name);
    const QIcon generic = QIcon::fromTheme(QStringLiteral("application-x-executable"));
    return name.isEmpty() ? generic : QIcon::fromTheme(name, generic);
}

}  // namespace

QIcon itemIcon(const PinnedItem& item) {
    if (const PinnedApp* app = item.app()) return appIcon(*app);
    if (item.trash()) return QIcon::fromTheme(QStringLiteral("user-trash"));
    return QIcon::fromTheme(QStringLiteral("folder"));
}

}  // namespace quillbern
