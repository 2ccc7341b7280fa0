#pragma once

#include <QIcon>

namespace quillbern {

// The program's icon: the one the package installs into the icon theme, else the copy built
// into the program, so that a run from the build tree shows it too.
QIcon programIcon();

}  // namespace quillbern
