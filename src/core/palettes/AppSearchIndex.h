#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/foundation/Clock.h"
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
        const Clock& clock;
    };
    // How long a scan may go without an answer before a refresh starts another one.
    static constexpr Duration kScanPatience = 60;

    explicit AppSearchIndex(Ports ports);
    AppSearchIndex(const AppSearchIndex&) = delete;
    AppSearchIndex& operator=(const AppSearchIndex&) = delete;

    // Starts a scan unless one is under way: calls while it runs are absorbed by it. A scan
    // that has not answered within kScanPatience (a stalled mount among the data folders)
    // no longer holds refreshes back; its answer, should it come, is dropped.
    void refreshSoon();
    // In the scan's order; empty until the first scan answers.
    const std::vector<InstalledApp>& apps() const { return apps_; }
    bool isRefreshing() const { return scanStarted_.has_value(); }
    // After a scan's answer replaced the applications with a different list.
    Signal<> changed;

    // The best `limit` applications whose name holds the query (trimmed of spaces and
    // tabs; blank matches none), by where it stands in the name, then by name, then in the
    // given order. Any thread.
    static std::vector<InstalledApp> matches(const TextServices& text, std::string_view query,
                                             std::span<const InstalledApp> apps, std::size_t limit);

private:
    void scanAnswered(std::uint64_t generation, std::vector<InstalledApp> apps);

    Ports ports_;
    std::vector<InstalledApp> apps_;
    std::uint64_t generation_ = 0;
    std::optional<MediaTime> scanStarted_;
    Lifetime lifetime_;
};

}  // namespace quillbern
