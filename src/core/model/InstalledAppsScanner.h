#pragma once

#include <mutex>
#include <vector>

#include "core/platform/AppCatalog.h"
#include "core/platform/TextServices.h"

namespace quillbern {

// The installed applications as the program lists them, for the application search and
// the dock editor alike: the catalogue's, one per identity (the first listed counts), the
// desktop's file manager added when the catalogue leaves it out, in the order of their names
// (the locale's, case ignored; equal names keep the catalogue's order). An entry without a
// readable name, or whose name, identity or path is not UTF-8, is left out and the rest
// still listed; the log says so once for each different set left out.
class InstalledAppsScanner {
public:
    // How many left-out paths the log line names.
    static constexpr std::size_t kLoggedPaths = 3;

    InstalledAppsScanner(const AppCatalog& catalog, const TextServices& text) : catalog_(catalog), text_(text) {}
    InstalledAppsScanner(const InstalledAppsScanner&) = delete;
    InstalledAppsScanner& operator=(const InstalledAppsScanner&) = delete;

    // A new list on every call. Any thread; blocks while the catalogue reads the disk.
    std::vector<InstalledApp> scan() const;

private:
    void reportLeftOut(std::vector<Path> paths) const;

    const AppCatalog& catalog_;
    const TextServices& text_;
    mutable std::mutex mutex_;
    // The set the log last named, so a rescan that finds the same ones stays quiet.
    mutable std::vector<Path> reported_;
};

}  // namespace quillbern
