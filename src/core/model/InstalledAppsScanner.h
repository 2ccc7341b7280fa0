#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "core/platform/AppCatalog.h"
#include "core/platform/TextServices.h"
#include "core/platform/Threads.h"

namespace quillbern {

// The installed applications as the program lists them, for the application search and
// the dock editor alike: the catalogue's, one per identity (the first listed counts), the
// desktop's file manager added when the catalogue leaves it out, in the order of their names
// (the locale's, case ignored; equal names keep the catalogue's order). An entry without a
// readable name, or whose name, identity or path is not UTF-8, is left out and the rest
// still listed; the log says so once for each different set left out.
class InstalledAppsScanner : public std::enable_shared_from_this<InstalledAppsScanner> {
public:
    // How many left-out paths the log line names.
    static constexpr std::size_t kLoggedPaths = 3;
    using Answer = std::function<void(std::vector<InstalledApp>)>;

    InstalledAppsScanner(const AppCatalog& catalog, const TextServices& text) : catalog_(catalog), text_(text) {}
    InstalledAppsScanner(const InstalledAppsScanner&) = delete;
    InstalledAppsScanner& operator=(const InstalledAppsScanner&) = delete;

    // A new list on every call. Any thread; blocks while the catalogue reads the disk.
    std::vector<InstalledApp> scan() const;
    // Any thread; for a scanner made shared. Scans on a thread of its own, unless a scan
    // runs already: then `answer` gets the list of that one, so scans never pile up on a
    // stalled mount. Answers come on the scan's thread, in the order asked, and may come
    // after the asker went.
    void scanInBackground(Threads& threads, Answer answer) const;

private:
    void reportLeftOut(std::vector<Path> paths) const;

    const AppCatalog& catalog_;
    const TextServices& text_;
    mutable std::mutex mutex_;
    // The set the log last named, so a rescan that finds the same ones stays quiet.
    mutable std::vector<Path> reported_;
    // Who waits for the scan under way; empty while none runs.
    mutable std::vector<Answer> waiting_;
};

}  // namespace quillbern
