#include "picture/SelfContainedSvg.h"

#include <QBuffer>
#include <QByteArrayView>
#include <QImageReader>
#include <QString>
#include <QXmlStreamReader>

#include "picture/PictureReading.h"

namespace quillbern {

namespace {

// Whether the picture at a `data:` address fits what is left of the budget, and takes its
// share. Qt decodes what follows the address's last "base64,", and nothing of an address
// without one.
bool embeddedPictureFits(const QString& address, qint64& budget) {
    const QString marker = QStringLiteral("base64,");
    const qsizetype at = address.lastIndexOf(marker);
    if (at < 0) return true;
    QByteArray picture = QByteArray::fromBase64(address.mid(at + marker.size()).toLatin1());
    if (picture.startsWith(QByteArrayView(kGzipMagic.data(), kGzipMagic.size()))) return false;
    bool compressedText = false;
    if (picture.startsWith(QByteArrayView(kPngSignature.data(), kPngSignature.size())) &&
        !forEachPngChunk(picture, [&](std::string_view type, std::string_view chunk) {
            compressedText = compressedText || isCompressedPngText(type, chunk);
            return !compressedText;
        }))
        return false;
    if (compressedText) return false;
    QBuffer buffer(&picture);
    buffer.open(QIODevice::ReadOnly);
    // Qt tells the format from the bytes, as it does where the picture is drawn.
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    if (format.isEmpty() || format == "svg" || format == "svgz") return false;
    const QSize size = reader.size();
    if (!size.isValid()) return false;
    const qint64 bytes = qint64(size.width()) * size.height() * 4;
    if (bytes > budget) return false;
    budget -= bytes;
    return true;
}

}  // namespace

std::optional<QByteArray> selfContainedSvg(const QByteArray& bytes, qint64 mostDecodedBytes) {
    if (bytes.size() > kMostSvgBytes) return std::nullopt;
    QByteArray text = bytes;
    if (bytes.startsWith(QByteArrayView(kGzipMagic.data(), kGzipMagic.size()))) {
        const std::optional<std::string> inflated =
            inflatedAtMost(std::string_view(bytes.constData(), std::size_t(bytes.size())),
                           std::size_t(kMostSvgBytes) + 1, Wrapping::gzip);
        if (!inflated || inflated->size() > std::size_t(kMostSvgBytes)) return std::nullopt;
        text = QByteArray::fromStdString(*inflated);
    }
    QXmlStreamReader xml(text);
    // As Qt's SVG reader reads it: names as written, entities expanded.
    xml.setNamespaceProcessing(false);
    qint64 budget = mostDecodedBytes;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::ProcessingInstruction &&
            xml.processingInstructionTarget() == QLatin1String("xml-stylesheet"))
            return std::nullopt;
        if (token != QXmlStreamReader::StartElement) continue;
        for (const QXmlStreamAttribute& attribute : xml.attributes()) {
            const QStringView name = attribute.qualifiedName();
            if (name != QLatin1String("href") && !name.endsWith(QLatin1String(":href"))) continue;
            // Qt trims the address before it opens it.
            const QString address = attribute.value().toString().trimmed();
            if (address.startsWith(QLatin1Char('#'))) continue;
            if (!address.startsWith(QLatin1String("data:")) || !embeddedPictureFits(address, budget))
                return std::nullopt;
        }
    }
    if (xml.hasError()) return std::nullopt;
    return text;
}

}  // namespace quillbern
