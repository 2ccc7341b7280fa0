#pragma once

class QColor;
class QFont;
class QLabel;
class QPalette;
class QString;
class QWidget;

namespace quillbern {

// The palettes' secondary colour, in which hints, paths, dates, chords and symbols stand
// back from names: the palette's text colour, fainter. One colour, so the same kind of text
// looks the same in every palette.
QColor secondaryColour(const QPalette& palette);
// Gives the widget's text the secondary colour.
void makeSecondary(QWidget& widget);
// A label of plain text in the font, in the secondary colour or the text colour.
QLabel* paletteLabel(const QString& text, const QFont& font, bool secondary, QWidget* parent);

}  // namespace quillbern
