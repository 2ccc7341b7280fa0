#pragma once

#include <QFont>
#include <QString>

namespace quillbern {

// `text` elided to `width` in `font`, as QFontMetricsF::elidedText gives it. Eliding shapes
// the whole text, and the docks draw the same labels at every frame of an animation, so
// the last few hundred answers are kept. Painting thread only.
QString elidedText(const QFont& font, const QString& text, Qt::TextElideMode mode, double width);

}  // namespace quillbern
