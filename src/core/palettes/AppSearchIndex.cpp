#include "core/palettes/AppSearchIndex.h"

#include "core/palettes/NameQuery.h"

namespace quillbern {

AppSearchIndex::AppSearchIndex(Ports ports) : ports_(ports) {}

void AppSearchIndex::refreshSoon() {
    expectOnLoop(ports_.mainLoop);
    if (isRefreshing_) return;
    isRefreshing_ = true;
    // The list moves to the main loop without a copy: the main loop only swaps it in.
    ports_.scanner->scanInBackground(
        ports_.threads, [&loop = ports_.mainLoop, token = lifetime_.token(), this](std::vector<InstalledApp> apps) {
            loop.post([token, this, apps = std::move(apps)]() mutable {
                if (token.isAlive()) scanAnswered(std::move(apps));
            });
        });
}

void AppSearchIndex::scanAnswered(std::vector<InstalledApp> apps) {
    isRefreshing_ = false;
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
