#include "core/palettes/AppSearchIndex.h"

#include "core/palettes/NameQuery.h"

namespace quillbern {

AppSearchIndex::AppSearchIndex(Ports ports) : ports_(ports) {}

void AppSearchIndex::refreshSoon() {
    expectOnLoop(ports_.mainLoop);
    const MediaTime now = ports_.clock.mediaNow();
    if (scanStarted_ && now - *scanStarted_ < kScanPatience) return;
    scanStarted_ = now;
    const std::uint64_t generation = ++generation_;
    // The list moves to the main loop without a copy: the main loop only swaps it in.
    auto answer = [&loop = ports_.mainLoop, token = lifetime_.token(), this,
                   generation](std::vector<InstalledApp> apps) {
        loop.post([token, this, generation, apps = std::move(apps)]() mutable {
            if (token.isAlive()) scanAnswered(generation, std::move(apps));
        });
    };
    ports_.threads.runInBackground("quillbern.scan",
                                   [scanner = ports_.scanner, answer = std::move(answer)] { answer(scanner->scan()); });
}

void AppSearchIndex::scanAnswered(std::uint64_t generation, std::vector<InstalledApp> apps) {
    // A scan given up on answers late: a newer one is under way or has answered.
    if (generation != generation_) return;
    scanStarted_.reset();
    if (apps == apps_) return;
    apps_ = std::move(apps);
    changed();
}

std::vector<InstalledApp> AppSearchIndex::matches(const TextServices& text, std::string_view query,
                                                  std::span<const InstalledApp> apps, std::size_t limit) {
    return bestMatches(
        text, query, apps, limit, [](const InstalledApp& app) -> const std::string& { return app.name; },
        [&text](const InstalledApp& a, const InstalledApp& b) { return text.compare(a.name, b.name) < 0; });
}

}  // namespace quillbern
