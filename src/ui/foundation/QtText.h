#pragma once

#include <QString>
#include <string_view>

namespace quillbern {

// A user-facing text through the program's catalogue, as Qt wants it. (Inside QObject
// classes a bare tr() means Qt's own lookup, which does not know our catalogue.)
QString localized(std::string_view english);

}  // namespace quillbern
