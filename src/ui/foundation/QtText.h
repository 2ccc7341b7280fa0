#pragma once

#include <QFont>
#include <QString>
#include <string_view>

namespace quillbern {

// A user-facing text through the program's catalogue, as Qt wants it. (Inside QObject
// classes a bare tr() means Qt's own lookup, which does not know our catalogue.)
QString localized(std::string_view english);

// A menu line's or a button's text as Qt shows it written: an "&" doubled, since Qt takes one for the mark
// of a mnemonic and would hide it ("R&D" read as "RD"). Our texts mark no mnemonics, while
// the names of docks, windows and applications and the labels of keys keep their "&".
QString menuTitle(std::string_view text);

// A tooltip's text as Qt shows it written: a name that Qt's tooltips would take for markup
// ("<b>draft</b>.txt") is escaped, and any other text left as it is.
QString toolTipAsWritten(const QString& text);

// The weight of headings: bold, not semibold, since Qt emboldens the letters of a face
// that has no bold only where bold is asked, and the Japanese and Chinese faces of many
// desktops have none, so a semibold heading would show them regular beside its bold Latin
// letters (a Latin face without a semibold shows its bold for it anyway).
constexpr QFont::Weight kHeadingWeight = QFont::Bold;

// The application's font at a size in pixels.
QFont fontOfSize(double size, QFont::Weight weight = QFont::Normal);

}  // namespace quillbern
