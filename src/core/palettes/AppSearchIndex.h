#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "core/foundation/FilledByName.h"
#include "core/foundation/Lifetime.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"
#include "core/model/InstalledAppsScanner.h"
#include "core/platform/TextServices.h"
#include "core/platform/Threads.h"

namespace quillbern {

// The installed applications the application search looks through, scanned again in the
// background when asked. Main thread.
class AppSearchIndex {
public:
    struct Ports {
        [[no_unique_address]] FilledByName<Ports> byName{};
        Threads& threads;
        // Shared with the scans, which may end after the index.
        std::shared_ptr<const InstalledAppsScanner> scanner;
        RunLoop& mainLoop;
    };

    explicit AppSearchIndex(Ports ports);
    AppSearchIndex(const AppSearchIndex&) = delete;
    AppSearchIndex& operator=(const AppSearchIndex&) = delete;

    // Asks the scanner for the list unless the index waits for it already: calls until the
    // answer comes are absorbed, however long a scan takes (a stalled mount among the data
    // folders), since another scan would wait on the same mount.
    void refreshSoon();
    // In the scan's order; empty until the first scan answers.
    const std::vector<InstalledApp>& apps() const { return apps_; }
    bool isRefreshing() const { return isRefreshing_; }
    // After a scan's answer replaced the applications with a different list.
    Signal<> changed;

    // The best `limit` applications whose name holds the query (trimmed of spaces and
    // tabs; blank matches none), by where it stands in the name, then by name, then in the
    // given order. Any thread.
    static std::vector<InstalledApp> matches(const TextServices& text, std::string_view query,
                                             std::span<const InstalledApp> apps, std::size_t limit);

private:
    void scanAnswered(std::vector<InstalledApp> apps);

    Ports ports_;
    std::vector<InstalledApp> apps_;
    bool isRefreshing_ = false;
    Lifetime lifetime_;
};

}  // namespace quillbern
