#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <optional>
#include <string_view>

namespace quillbern {

class ReadingBudget;

// What starts a gzip stream, as a compressed SVG is.
inline constexpr std::string_view kGzipMagic("\x1f\x8b", 2);

// An SVG's text, inflated or not, is no longer than any picture file read as an icon.
inline constexpr qsizetype kMostSvgBytes = 8 << 20;

// The text of an SVG (inflated where it is compressed, within kMostSvgBytes) when the picture
// draws only what it holds, within bounds of memory and time; none otherwise. Qt's SVG reader
// would itself open, waiting and without bound, every file or address an `href` names but the
// picture's own parts (`#…`), and the style sheet an `xml-stylesheet` instruction names; so
// any such name refuses the picture, as do a document that is no well-formed XML, whose
// entities Qt expands as it is read here, more elements or characters of text than an icon
// holds many times over (each part counted as often as the document draws it again), groups
// deeper than any icon's, a part that draws itself, a `data:` address without a base64 payload, and an embedded picture
// that is not a PNG (without compressed texts), a JPEG or a GIF, each sized by its own
// headers; together they decode to at most `mostDecodedBytes`, and their checks and
// decoding take their work from the file's `budget`.
std::optional<QByteArray> selfContainedSvg(const QByteArray& bytes, qint64 mostDecodedBytes, ReadingBudget& budget);

}  // namespace quillbern
