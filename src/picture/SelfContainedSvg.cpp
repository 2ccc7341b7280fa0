#include "picture/SelfContainedSvg.h"

#include <QBuffer>
#include <QByteArrayView>
#include <QImageReader>
#include <QString>
#include <QXmlStreamReader>
#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "picture/PictureCosts.h"
#include "picture/PictureReading.h"

namespace quillbern {

namespace {

// What an icon's drawing holds, many times over; Qt's reader takes a second for each hundred
// thousand elements, lays out every character of a text with the glyphs of its font, and
// draws a group inside a group by calling itself.
constexpr qint64 kMostElements = 100'000;
constexpr qint64 kMostTextCharacters = 16'384;
constexpr std::size_t kMostDepth = 256;

// The parts of the document as Qt draws them: each element, the characters of text inside it
// and the parts of its own it names (`href="#…"`, a `<use>`), which are drawn again where they
// are named, so ten groups of ten uses of the group before draw ten billion elements.
class DrawnParts {
public:
    // Whether the element fits within the depth.
    bool open(const QString& id) {
        const int index = int(parts_.size());
        if (!open_.empty()) parts_[std::size_t(open_.back())].inside.push_back(index);
        parts_.emplace_back();
        open_.push_back(index);
        if (!id.isEmpty()) ids_.try_emplace(id, index);
        return open_.size() <= kMostDepth;
    }
    void close() {
        if (!open_.empty()) open_.pop_back();
    }
    void addCharacters(qint64 count) {
        if (!open_.empty()) parts_[std::size_t(open_.back())].characters += count;
    }
    void name(QString id) {
        if (!open_.empty()) parts_[std::size_t(open_.back())].named.push_back(std::move(id));
    }

    // Whether drawing every part as often as it is named stays within the bounds; a part
    // that names itself, however far down, never does.
    bool withinBounds() const {
        if (parts_.empty()) return true;
        enum class Seen : char { no, drawing, counted };
        std::vector<Seen> seen(parts_.size(), Seen::no);
        std::vector<Drawn> drawn(parts_.size());
        std::vector<int> waiting{0};
        while (!waiting.empty()) {
            const int at = waiting.back();
            const Part& part = parts_[std::size_t(at)];
            if (seen[std::size_t(at)] == Seen::counted) {
                waiting.pop_back();
                continue;
            }
            const std::vector<int> drawnWithIt = partsDrawnWith(part);
            if (seen[std::size_t(at)] == Seen::no) {
                seen[std::size_t(at)] = Seen::drawing;
                for (const int next : drawnWithIt) {
                    if (seen[std::size_t(next)] == Seen::drawing) return false;
                    if (seen[std::size_t(next)] == Seen::no) waiting.push_back(next);
                }
                continue;
            }
            Drawn sum{1, part.characters};
            for (const int next : drawnWithIt) {
                // Past the bounds the sums stay there, however many more there are.
                sum.elements = std::min(sum.elements + drawn[std::size_t(next)].elements, kMostElements + 1);
                sum.characters =
                    std::min(sum.characters + drawn[std::size_t(next)].characters, kMostTextCharacters + 1);
            }
            drawn[std::size_t(at)] = sum;
            seen[std::size_t(at)] = Seen::counted;
            waiting.pop_back();
        }
        return drawn[0].elements <= kMostElements && drawn[0].characters <= kMostTextCharacters;
    }

private:
    struct Part {
        std::vector<int> inside;
        std::vector<QString> named;
        qint64 characters = 0;
    };
    struct Drawn {
        qint64 elements = 0;
        qint64 characters = 0;
    };

    std::vector<int> partsDrawnWith(const Part& part) const {
        std::vector<int> drawn = part.inside;
        for (const QString& id : part.named) {
            if (const auto named = ids_.find(id); named != ids_.end()) drawn.push_back(named->second);
        }
        return drawn;
    }

    std::vector<Part> parts_;
    std::vector<int> open_;
    std::unordered_map<QString, int> ids_;
};

// Whether the picture at a `data:` address fits what is left of the memory and the work,
// and takes its share of each. Qt decodes what follows the address's last "base64,", and
// nothing of an address without one, about which it warns with the whole address.
bool embeddedPictureFits(const QString& address, qint64& memory, ReadingBudget& work) {
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
        bytes = pngDecodeCost(picture, work);
    } else if (format == "jpeg" || format == "jpg") {
        JpegMarkers markers;
        markers.read(picture);
        const std::optional<qint64> beside = markers.heldBeside(size);
        if (beside && work.decodeJpegBlocks(markers.blocksDecoded()))
            bytes = qint64(size.width()) * size.height() * 4 + *beside;
    } else if (const std::optional<QSize> screen = gifScreen(picture); format == "gif" && screen) {
        const QSize made = size.expandedTo(*screen);
        bytes = qint64(made.width()) * made.height() * 4;
    }
    if (!bytes || *bytes > memory) return false;
    memory -= *bytes;
    return true;
}

bool isTextElement(QStringView name) {
    return name == QLatin1String("text") || name == QLatin1String("tspan") || name == QLatin1String("textPath") ||
           name == QLatin1String("tref");
}

}  // namespace

std::optional<QByteArray> selfContainedSvg(const QByteArray& bytes, qint64 mostDecodedBytes, ReadingBudget& budget) {
    if (bytes.size() > kMostSvgBytes) return std::nullopt;
    QByteArray text = bytes;
    if (bytes.startsWith(QByteArrayView(kGzipMagic.data(), kGzipMagic.size()))) {
        if (!budget.inflate(kMostSvgBytes + 1)) return std::nullopt;
        const std::optional<std::string> inflated =
            inflatedAtMost(std::string_view(bytes.constData(), std::size_t(bytes.size())),
                           std::size_t(kMostSvgBytes) + 1, Wrapping::gzip);
        if (!inflated || inflated->size() > std::size_t(kMostSvgBytes)) return std::nullopt;
        text = QByteArray::fromStdString(*inflated);
    }
    QXmlStreamReader xml(text);
    // As Qt's SVG reader reads it: names as written, entities expanded.
    xml.setNamespaceProcessing(false);
    qint64 memory = mostDecodedBytes;
    qint64 elements = 0;
    DrawnParts parts;
    // How many text elements hold the reader where it is.
    int textDepth = 0;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::ProcessingInstruction &&
            xml.processingInstructionTarget() == QLatin1String("xml-stylesheet"))
            return std::nullopt;
        if (token == QXmlStreamReader::Characters && textDepth > 0) parts.addCharacters(xml.text().size());
        if (token == QXmlStreamReader::EndElement) {
            if (isTextElement(xml.name())) --textDepth;
            parts.close();
        }
        if (token != QXmlStreamReader::StartElement) continue;
        if (++elements > kMostElements || !parts.open(xml.attributes().value(QLatin1String("id")).toString()))
            return std::nullopt;
        if (isTextElement(xml.name())) ++textDepth;
        for (const QXmlStreamAttribute& attribute : xml.attributes()) {
            const QStringView name = attribute.qualifiedName();
            if (name != QLatin1String("href") && !name.endsWith(QLatin1String(":href"))) continue;
            // Qt trims the address before it opens it.
            const QString address = attribute.value().toString().trimmed();
            if (address.startsWith(QLatin1Char('#'))) {
                parts.name(address.mid(1));
                continue;
            }
            if (!address.startsWith(QLatin1String("data:")) || !embeddedPictureFits(address, memory, budget))
                return std::nullopt;
        }
    }
    if (xml.hasError() || !parts.withinBounds()) return std::nullopt;
    return text;
}

}  // namespace quillbern
