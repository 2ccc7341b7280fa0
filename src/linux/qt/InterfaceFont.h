#pragma once

#include <QFont>

namespace quillbern {

// The interface font with Latin letters of varying widths. A desktop that names no font of
// its own leaves Qt with fontconfig's sans-serif for the locale's language, which under
// Japanese may be a face whose Latin letters all share one width (VL Gothic): such a font is
// asked for after the Latin sans-serif, which then draws the Latin text while the language's
// own letters fall through to the face the desktop gave. Any other font is returned as it is.
QFont withProportionalLatin(const QFont& font);

}  // namespace quillbern
