#pragma once

#include <QFont>
#include <QString>
#include <string_view>

namespace quillbern {

// A user-facing text through the program's catalogue, as Qt wants it. (Inside QObject
// classes a bare tr() means Qt's own lookup, which does not know our catalogue.)
QString localized(std::string_view english);

// The application's font at a size in pixels.
QFont fontOfSize(double size, QFont::Weight weight = QFont::Normal);

}  // namespace quillbern
