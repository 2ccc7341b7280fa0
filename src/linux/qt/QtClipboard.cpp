#include "linux/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace quillbern {

void QtClipboard::setText(std::string_view text) {
    QGuiApplication::clipboard()->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                                          QClipboard::Clipboard);
}

std::optional<std::string> QtClipboard::text() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!data || !data->hasText()) return std::nullopt;
    return data->text().toStdString();
}

}  // namespace quillbern
