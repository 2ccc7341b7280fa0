#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/foundation/CancelToken.h"
#include "core/foundation/FilledByName.h"
#include "core/foundation/Lifetime.h"
#include "core/foundation/RunLoop.h"
#include "core/palettes/FileEntry.h"
#include "core/platform/FileSystem.h"
#include "core/platform/OnDemandQueue.h"
#include "core/platform/TextServices.h"
#include "core/platform/Threads.h"

namespace quillbern {

// Reads folders for the file palette off the main thread, builds a bounded index beneath
// a set of folders, and ranks entries against a query. Every folder read is one item on
// one serial queue of its own; results come back on the main loop. Main thread only,
// apart from `readLevel` and `matches`, which touch no shared state.
class FileSearchEngine {
public:
    struct Ports {
        [[no_unique_address]] FilledByName<Ports> byName{};
        RunLoop& mainLoop;
        Threads& threads;
        const FileSystem& files;
        const TextServices& text;
    };
    // A folder's entries; none when the folder cannot be read.
    using Listing = std::optional<std::vector<FileEntry>>;

    static constexpr std::size_t kIndexCap = 20'000;
    // Folders are listed down to this many levels beneath a root.
    static constexpr int kIndexDepth = 3;
    static constexpr std::string_view kQueueLabel = "quillbern.files";

    explicit FileSearchEngine(Ports ports);
    FileSearchEngine(const FileSearchEngine&) = delete;
    FileSearchEngine& operator=(const FileSearchEngine&) = delete;

    // Lists one folder as one item of the queue; `done` runs on the main loop, unless the
    // token was cancelled by then.
    void listLevel(const Path& folder, CancelToken token, std::function<void(Listing)> done);
    // Everything beneath the roots, breadth first, down to kIndexDepth, at most kIndexCap
    // entries, without the contents of noise folders or packages; unreadable folders are
    // skipped. Back on the main loop after each folder, so a level listing asked for
    // meanwhile waits behind one folder read at most. `done` runs on the main loop, never
    // once the token is cancelled.
    void buildIndex(std::vector<Path> roots, CancelToken token, std::function<void(std::vector<FileEntry>)> done);

    // One folder's listing as the queue reads it: folders by name in the locale's order,
    // then the other items newest first, undated last, each group otherwise in the
    // system's order. Hidden items are left out.
    static Listing readLevel(const FileSystem& files, const TextServices& text, const Path& folder);
    // The best `limit` entries of the pool whose name holds the query: by rank, then the
    // newest, then by name in the locale's order, then in pool order.
    static std::vector<FileEntry> matches(const TextServices& text, std::string_view query,
                                          std::span<const FileEntry* const> pool, std::size_t limit);

private:
    struct IndexBuild;
    void continueIndex(const std::shared_ptr<IndexBuild>& build);

    Ports ports_;
    OnDemandQueue queue_;
    // Destroyed first, so nothing that arrives from the queue afterwards reaches the engine.
    Lifetime lifetime_;
};

}  // namespace quillbern
