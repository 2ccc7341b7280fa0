#pragma once

#include <string>
#include <vector>

#include "core/palettes/FileSearchEngine.h"
#include "core/palettes/FileSearchState.h"
#include "sim/SimWorld.h"

namespace quillbern::testing {

// The simulated machine of the file search tests: an engine whose folder reads wait on
// the simulated queue until the test runs them.
struct FileSearchWorld {
    SimSerialQueue* io() const { return world.threads.queue(FileSearchEngine::kQueueLabel); }
    std::size_t pendingReads() const { return io() ? io()->pendingCount() : 0; }
    // Runs the next folder read and delivers what it posts to the main loop.
    bool readNext() {
        const bool ran = io() && io()->runNext();
        world.runUntilIdle();
        return ran;
    }
    // Reads and delivers until nothing is left to do.
    void settle() {
        world.runUntilIdle();
        while (readNext()) {
        }
    }
    FileSearchState::Ports statePorts() {
        return {.mainLoop = world.mainLoop,
                .engine = engine,
                .files = world.files,
                .text = world.text,
                .icons = world.icons};
    }

    SimWorld world;
    FileSearchEngine engine{
        {.mainLoop = world.mainLoop, .threads = world.threads, .files = world.files, .text = world.text}};
};

// Dates a day apart, newer with a larger n.
inline WallTime day(int n) {
    return WallTime{1'700'000'000.0 + n * 86'400.0};
}

// A file at that path, named by its last component, undated.
inline FileEntry fileAt(Path path) {
    FileEntry entry;
    entry.name = path.substr(path.rfind('/') + 1);
    entry.path = std::move(path);
    return entry;
}

inline std::vector<std::string> namesOf(const std::vector<FileEntry>& entries) {
    std::vector<std::string> names;
    for (const FileEntry& entry : entries)
        names.push_back(entry.name);
    return names;
}

inline std::vector<std::string> pathsOf(const std::vector<FileEntry>& entries) {
    std::vector<std::string> paths;
    for (const FileEntry& entry : entries)
        paths.push_back(entry.path);
    return paths;
}

}  // namespace quillbern::testing
