#pragma once

#include <vector>

#include "core/platform/AppCatalog.h"
#include "core/platform/TextServices.h"

namespace quillbern {

// The installed applications as the program lists them: the catalogue's, one per
// identity, with the desktop's file manager added when the catalogue leaves it out, in
// the order of their names (the locale's, case ignored; equal names keep the catalogue's
// order). Any thread; blocks while the catalogue reads the disk.
class InstalledAppsScanner {
public:
    static std::vector<InstalledApp> scan(const AppCatalog& catalog, const TextServices& text);
};

}  // namespace quillbern
