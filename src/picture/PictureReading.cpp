#include "picture/PictureReading.h"

#include <QBuffer>
#include <QIODevice>
#include <QImage>
#include <QImageReader>

namespace quillbern {

namespace {

// The picture the reader holds, at most `side` pixels either way.
QImage readPicture(QImageReader& reader, int side, qint64 mostBytes) {
    reader.setAutoTransform(true);
    if (!reader.canRead()) return {};
    // Only formats that decode straight to another size, and never hold pictures of one bit
    // a pixel, are read so. Qt's reader would scale the others once read, a picture of one
    // bit a pixel as such, to noise; and what a damaged file says of its pixels is not trusted.
    const QByteArray format = reader.format();
    const QSize full = reader.size();
    const bool scalable = format == "svg" || format == "svgz";
    if (full.isValid() && (scalable || (format == "jpeg" && (full.width() > side || full.height() > side))))
        reader.setScaledSize(full.scaled(side, side, Qt::KeepAspectRatio));
    // Four bytes a pixel, as Qt's readers count; a format that tells no size before it
    // decodes is held by Qt's own limit.
    if (const QSize decoded = reader.scaledSize().isValid() ? reader.scaledSize() : full;
        decoded.isValid() && qint64(decoded.width()) * decoded.height() * 4 > mostBytes)
        return {};
    return fittedTo(reader.read(), side);
}

}  // namespace

bool isPngTextChunk(std::string_view type) {
    return type == "tEXt" || type == "zTXt" || type == "iTXt";
}

std::optional<QByteArray> pngWithoutTexts(const QByteArray& png) {
    QByteArray kept(kPngSignature.data(), qsizetype(kPngSignature.size()));
    const bool whole = forEachPngChunk(png, [&kept](std::string_view type, std::string_view chunk) {
        if (!isPngTextChunk(type)) kept.append(chunk.data(), qsizetype(chunk.size()));
        return true;
    });
    if (!whole) return std::nullopt;
    return kept;
}

QImage readPicture(QIODevice& device, int side, qint64 mostBytes) {
    if (device.peek(qint64(kPngSignature.size())) != QByteArrayView(kPngSignature.data(), kPngSignature.size())) {
        QImageReader reader(&device);
        return readPicture(reader, side, mostBytes);
    }
    std::optional<QByteArray> png = pngWithoutTexts(device.readAll());
    if (!png) return {};
    QBuffer buffer(&*png);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    return readPicture(reader, side, mostBytes);
}

QImage fittedTo(QImage image, int side) {
    if (image.width() <= side && image.height() <= side) return image;
    // Scaling keeps a picture's format, and one bit a pixel cannot hold the blended colours.
    if (image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB)
        image.convertTo(QImage::Format_ARGB32);
    return image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

}  // namespace quillbern
