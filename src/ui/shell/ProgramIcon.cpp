#include "ui/shell/ProgramIcon.h"

#include "ui/foundation/QtIcons.h"

namespace quillbern {

QIcon programIcon() {
    return themeIcon({QStringLiteral("quillbern")}, QIcon(QStringLiteral(":/quillbern/quillbern.svg")));
}

}  // namespace quillbern
