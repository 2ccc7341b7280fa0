#include "ui/foundation/QtText.h"

#include "core/foundation/Localization.h"

namespace quillbern {

QString localized(std::string_view english) {
    return QString::fromStdString(quillbern::tr(english));
}

}  // namespace quillbern
