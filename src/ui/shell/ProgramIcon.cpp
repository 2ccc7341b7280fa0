#include "ui/shell/ProgramIcon.h"

namespace quillbern {

QIcon programIcon() {
    return QIcon::fromTheme(QStringLiteral("quillbern"), QIcon(QStringLiteral(":/quillbern/quillbern.svg")));
}

}  // namespace quillbern
