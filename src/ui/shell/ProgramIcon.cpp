#include "ui/shell/ProgramIcon.h"

#include "ui/foundation/QtIcons.h"

namespace quillbern {

QIcon programIcon() {
    const QIcon installed = themeIconNamed(QStringLiteral("quillbern"));
    return installed.isNull() ? QIcon(QStringLiteral(":/quillbern/quillbern.svg")) : installed;
}

}  // namespace quillbern
