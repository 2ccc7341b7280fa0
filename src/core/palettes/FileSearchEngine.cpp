#include "core/palettes/FileSearchEngine.h"

#include <algorithm>
#include <deque>
#include <iterator>
#include <string>
#include <unordered_set>
#include <utility>

#include "core/foundation/Paths.h"
#include "core/foundation/Utf8.h"
#include "core/palettes/NameQuery.h"

namespace quillbern {

namespace {

// Folders whose contents are never indexed; the set holds one name.
bool isNoiseFolder(std::string_view name) {
    // Lower-casing can turn no other character into one of these ASCII letters, so an
    // ASCII comparison without case is exact.
    return std::ranges::equal(name, std::string_view("node_modules"), [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
    });
}

}  // namespace

struct FileSearchEngine::IndexBuild {
    CancelToken token;
    std::function<void(std::vector<FileEntry>)> done;
    std::deque<std::pair<Path, int>> pending;
    std::unordered_set<Path> visited;
    std::unordered_set<Path> seen;
    std::vector<FileEntry> entries;
};

FileSearchEngine::FileSearchEngine(Ports ports)
    : ports_(ports),
      queue_(ports.threads, ports.mainLoop, std::string(kQueueLabel),
             "the thread that reads folders for the file palette did not start; folders cannot be listed") {}

void FileSearchEngine::listLevel(const Path& folder, CancelToken token, std::function<void(Listing)> done) {
    expectOnLoop(ports_.mainLoop);
    // The listing is moved, never copied, on its way: a folder may hold 100,000 items.
    const auto deliver = [&loop = ports_.mainLoop, alive = lifetime_.token(), token,
                          done = std::move(done)](Listing listing) {
        auto result = std::make_shared<Listing>(std::move(listing));
        loop.post([alive, token, done, result] {
            if (alive.isAlive() && !token.isCancelled()) done(std::move(*result));
        });
    };
    const bool queued = queue_.async(token, [&files = ports_.files, &text = ports_.text, folder,
                                             deliver](const CancelToken&) { deliver(readLevel(files, text, folder)); });
    if (!queued) deliver(std::nullopt);
}

void FileSearchEngine::buildIndex(std::vector<Path> roots, CancelToken token,
                                  std::function<void(std::vector<FileEntry>)> done) {
    expectOnLoop(ports_.mainLoop);
    auto build = std::make_shared<IndexBuild>();
    build->token = std::move(token);
    build->done = std::move(done);
    for (const Path& root : roots)
        build->pending.emplace_back(normalizedPath(root), 0);
    continueIndex(build);
}

void FileSearchEngine::continueIndex(const std::shared_ptr<IndexBuild>& build) {
    while (!build->token.isCancelled()) {
        if (build->pending.empty() || build->entries.size() >= kIndexCap) {
            // Always a turn later, so the caller never sees its callback run inside its call.
            ports_.mainLoop.post([alive = lifetime_.token(), build] {
                if (alive.isAlive() && !build->token.isCancelled()) build->done(std::move(build->entries));
            });
            return;
        }
        auto [folder, depth] = std::move(build->pending.front());
        build->pending.pop_front();
        if (!build->visited.insert(folder).second) continue;
        listLevel(folder, build->token, [this, build, depth](Listing listing) {
            if (listing) {
                for (FileEntry& entry : *listing) {
                    if (build->entries.size() >= kIndexCap) break;
                    if (!build->seen.insert(entry.path).second) continue;
                    if (entry.isFolder && depth < kIndexDepth && !isNoiseFolder(entry.name))
                        build->pending.emplace_back(entry.path, depth + 1);
                    build->entries.push_back(std::move(entry));
                }
            }
            continueIndex(build);
        });
        return;
    }
}

FileSearchEngine::Listing FileSearchEngine::readLevel(const FileSystem& files, const TextServices& text,
                                                      const Path& folder) {
    Result<std::vector<DirEntry>> items = files.list(folder, true);
    if (!items) return std::nullopt;
    std::vector<FileEntry> folders;
    std::vector<FileEntry> others;
    for (DirEntry& item : items.value()) {
        std::string& shown = item.displayName ? *item.displayName : item.name;
        FileEntry entry{
            .path = std::move(item.path),
            .name = isValidUtf8(shown) ? std::move(shown) : replacingInvalidUtf8(shown),
            .isFolder = item.isDirectory.value_or(false) && !item.isPackage.value_or(false),
            .modified = item.modified,
        };
        (entry.isFolder ? folders : others).push_back(std::move(entry));
    }
    std::ranges::stable_sort(
        folders, [&text](const FileEntry& a, const FileEntry& b) { return text.compare(a.name, b.name) < 0; });
    std::ranges::stable_sort(others, [](const FileEntry& a, const FileEntry& b) { return a.modified > b.modified; });
    folders.insert(folders.end(), std::make_move_iterator(others.begin()), std::make_move_iterator(others.end()));
    return folders;
}

std::vector<FileEntry> FileSearchEngine::matches(const TextServices& text, std::string_view query,
                                                 std::span<const FileEntry* const> pool, std::size_t limit) {
    const std::vector<const FileEntry*> best = bestMatches<const FileEntry*>(
        text, query, pool, limit, [](const FileEntry* entry) -> std::string_view { return entry->name; },
        [&text](const FileEntry* a, const FileEntry* b) {
            if (a->modified != b->modified) return a->modified > b->modified;
            return text.compare(a->name, b->name) < 0;
        });
    std::vector<FileEntry> entries;
    entries.reserve(best.size());
    for (const FileEntry* entry : best)
        entries.push_back(*entry);
    return entries;
}

}  // namespace quillbern
