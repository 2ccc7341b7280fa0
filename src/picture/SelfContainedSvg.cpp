#include "picture/SelfContainedSvg.h"

#include <QBuffer>
#include <QByteArrayView>
#include <QImageReader>
#include <QString>
#include <QXmlStreamReader>
#include <optional>
#include <string_view>

#include "picture/PictureCosts.h"
#include "picture/PictureReading.h"

namespace quillbern {

namespace {

// What an icon's drawing holds, many times over; Qt's reader takes a second for each hundred
// thousand elements, and lays out every character of a text with the glyphs of its font.
constexpr qint64 kMostElements = 100'000;
constexpr qint64 kMostTextCharacters = 16'384;

// Whether the picture at a `data:` address fits what is left of the budget, and takes its
// share. Qt decodes what follows the address's last "base64,", and nothing of an address
// without one, about which it warns with the whole address.
bool embeddedPictureFits(const QString& address, qint64& budget) {
    const QString marker = QStringLiteral("base64,");
    const qsizetype at = address.lastIndexOf(marker);
    if (at < 0) return false;
    QByteArray picture = QByteArray::fromBase64(address.mid(at + marker.size()).toLatin1());
    QBuffer buffer(&picture);
    buffer.open(QIODevice::ReadOnly);
    // Qt tells the format from the bytes, as it does where the picture is drawn; only the
    // formats a web page's picture comes in, whose costs are told by their own headers. An
    // SVG would name what it likes, and an ICO's directory says what it likes of its sizes.
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    // Sizing an SVG would read it, and open what it names.
    const bool sizedByItsHeaders = format == "png" || format == "jpeg" || format == "jpg" || format == "gif";
    const QSize size = sizedByItsHeaders ? reader.size() : QSize();
    if (!size.isValid()) return false;
    std::optional<qint64> bytes;
    if (format == "png") {
        bool compressedText = false;
        if (!forEachPngChunk(picture,
                             [&](std::string_view type, std::string_view chunk) {
                                 compressedText = compressedText || isCompressedPngText(type, chunk);
                                 return !compressedText;
                             }) ||
            compressedText)
            return false;
        bytes = pngDecodeCost(picture);
    } else if (format == "jpeg" || format == "jpg") {
        bytes = jpegDecodeCost(picture, size);
    } else if (format == "gif") {
        bytes = qint64(size.width()) * size.height() * 4;
    }
    if (!bytes || *bytes > budget) return false;
    budget -= *bytes;
    return true;
}

bool isTextElement(QStringView name) {
    return name == QLatin1String("text") || name == QLatin1String("tspan") || name == QLatin1String("textPath") ||
           name == QLatin1String("tref");
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
    qint64 elements = 0;
    qint64 characters = 0;
    // How many text elements hold the reader where it is.
    int textDepth = 0;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::ProcessingInstruction &&
            xml.processingInstructionTarget() == QLatin1String("xml-stylesheet"))
            return std::nullopt;
        if (token == QXmlStreamReader::Characters && textDepth > 0 &&
            (characters += xml.text().size()) > kMostTextCharacters)
            return std::nullopt;
        if (token == QXmlStreamReader::EndElement && isTextElement(xml.name())) --textDepth;
        if (token != QXmlStreamReader::StartElement) continue;
        if (++elements > kMostElements) return std::nullopt;
        if (isTextElement(xml.name())) ++textDepth;
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
