// A URL opened by Qt, which starts whatever program the desktop has for it.
#include <QDesktopServices>
#include <QUrl>

bool show(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}
