#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <future>
#include <mutex>
#include <string>
#include <vector>

#include "AllocationCounter.h"
#include "RunOnLoop.h"
#include "core/foundation/ThreadRunLoop.h"
#include "core/palettes/FileSearchEngine.h"
#include "core/platform/SystemThreads.h"
#include "linux/freedesktop/LinuxFileSystem.h"
#include "linux/icu/IcuTextServices.h"
#include "sim/SimLog.h"

using namespace quillbern;
namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

constexpr std::array<std::string_view, 16> kWords{"Report",  "invoice", "photo",  "Notes",     "draft", "Budget",
                                                  "summary", "scan",    "Résumé", "Café menu", "plan",  "agenda",
                                                  "backup",  "design",  "slides", "thesis"};
constexpr std::array<std::string_view, 6> kExtensions{".txt", ".pdf", ".ods", ".jpg", ".md", ".odt"};

std::string fileName(int n) {
    return std::string(kWords[static_cast<std::size_t>(n) % kWords.size()]) + " " + std::to_string(n) +
           std::string(kExtensions[static_cast<std::size_t>(n / 7) % kExtensions.size()]);
}

void touch(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    if (fd >= 0) ::close(fd);
}

// A home of 100,000 files: a node_modules folder of 10,000, and 30 project folders of 10
// folders of 300 files each; beside it a folder of 10,000 entries, 2,000 of them folders.
// Made once per run, removed at its end.
struct Tree {
    fs::path base = fs::temp_directory_path() / ("quillbern-bench-files-" + std::to_string(::getpid()));
    fs::path home = base / "home";
    fs::path wide = base / "wide";

    Tree() {
        fs::create_directories(home / "node_modules");
        for (int i = 0; i < 10'000; ++i)
            touch(home / "node_modules" / ("module-" + std::to_string(i) + ".js"));
        int n = 0;
        for (int p = 0; p < 30; ++p) {
            for (int s = 0; s < 10; ++s) {
                const fs::path folder = home /
                                        (std::string(kWords[p % kWords.size()]) + " project " + std::to_string(p)) /
                                        ("part " + std::to_string(s));
                fs::create_directories(folder);
                for (int f = 0; f < 300; ++f)
                    touch(folder / fileName(n++));
            }
        }
        fs::create_directories(wide);
        for (int i = 0; i < 10'000; ++i) {
            if (i % 5 == 0) {
                fs::create_directory(wide / ("Folder " + std::string(kWords[i % kWords.size()]) + std::to_string(i)));
            } else {
                touch(wide / fileName(i));
            }
        }
    }
    ~Tree() {
        std::error_code ignored;
        fs::remove_all(base, ignored);
    }
};

const Tree& tree() {
    static const Tree made;
    return made;
}

// The real file system, counting its listings and noting how long the longest took.
class CountingFileSystem final : public FileSystem {
public:
    bool exists(const Path& path) const override { return files_.exists(path); }
    bool isDirectory(const Path& path) const override { return files_.isDirectory(path); }
    std::string displayName(const Path& path) const override { return files_.displayName(path); }
    std::optional<Path> userDirectory(UserDirectory which) const override { return files_.userDirectory(which); }
    bool isInTrash(const Path& path) const override { return files_.isInTrash(path); }
    Result<void> moveToTrash(const Path& path) override { return files_.moveToTrash(path); }
    Result<std::vector<DirEntry>> list(const Path& folder, bool skipHidden) const override {
        const auto start = Clock::now();
        {
            std::lock_guard lock(mutex_);
            order_.push_back(folder);
        }
        auto listed = files_.list(folder, skipHidden);
        const double took = millisecondsSince(start);
        std::lock_guard lock(mutex_);
        longestMs_ = std::max(longestMs_, took);
        return listed;
    }

    std::vector<Path> order() const {
        std::lock_guard lock(mutex_);
        return order_;
    }
    double longestMs() const {
        std::lock_guard lock(mutex_);
        return longestMs_;
    }
    void reset() {
        std::lock_guard lock(mutex_);
        order_.clear();
        longestMs_ = 0;
    }

private:
    LinuxFileSystem files_;
    mutable std::mutex mutex_;
    mutable std::vector<Path> order_;
    mutable double longestMs_ = 0;
};

// The engine as the program runs it: its queue on a thread of its own, its results on a
// loop that stands for the main one.
struct Engine {
    SimLog quiet;
    SystemThreads threads;
    CountingFileSystem files;
    IcuTextServices text;
    std::unique_ptr<ThreadRunLoop> mainLoop = ThreadRunLoop::start("bench.main");
    std::unique_ptr<FileSearchEngine> engine;

    Engine() {
        onMain([this] {
            engine = std::make_unique<FileSearchEngine>(
                FileSearchEngine::Ports{.mainLoop = *mainLoop, .threads = threads, .files = files, .text = text});
        });
    }
    ~Engine() {
        onMain([this] { engine.reset(); });
    }
    template <class Fn>
    void onMain(Fn fn) {
        bench::runOn(*mainLoop, fn);
    }
    std::vector<FileEntry> buildIndex(const Path& root) {
        std::promise<std::vector<FileEntry>> built;
        mainLoop->post([&] {
            engine->buildIndex({root}, {}, [&](std::vector<FileEntry> index) { built.set_value(std::move(index)); });
        });
        return built.get_future().get();
    }
    FileSearchEngine::Listing listLevel(const Path& folder) {
        std::promise<FileSearchEngine::Listing> listed;
        mainLoop->post([&] {
            engine->listLevel(folder, {},
                              [&](FileSearchEngine::Listing listing) { listed.set_value(std::move(listing)); });
        });
        return listed.get_future().get();
    }
};

// The index under a home of 100,000 files, the node_modules folder among them, on a warm
// cache: it stops at exactly 20,000 entries.
void FileIndexOf100kFiles(benchmark::State& state) {
    Engine bench;
    const Path home = tree().home.string();
    bench.buildIndex(home);
    std::size_t entries = 0;
    for (auto _ : state) {
        bench.files.reset();
        entries = bench.buildIndex(home).size();
    }
    state.counters["entries"] = static_cast<double>(entries);
    state.counters["folderReads"] = static_cast<double>(bench.files.order().size());
}
BENCHMARK(FileIndexOf100kFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

// The heap the finished index of 20,000 entries holds.
void FileIndexMemory(benchmark::State& state) {
    Engine bench;
    const Path home = tree().home.string();
    double megabytes = 0;
    std::size_t entries = 0;
    for (auto _ : state) {
        const long long before = bench::liveByteCount();
        std::vector<FileEntry> index = bench.buildIndex(home);
        // The build's own bookkeeping goes once the main loop has finished delivering.
        bench.onMain([] {});
        megabytes = static_cast<double>(bench::liveByteCount() - before) / 1e6;
        entries = index.size();
        benchmark::DoNotOptimize(index.data());
    }
    state.counters["entries"] = static_cast<double>(entries);
    state.counters["heldMB"] = megabytes;
}
BENCHMARK(FileIndexMemory)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// One folder of 10,000 entries, from the request to the listing on the main loop.
void FileListLevelOf10kEntries(benchmark::State& state) {
    Engine bench;
    const Path wide = tree().wide.string();
    std::size_t entries = 0;
    for (auto _ : state)
        entries = bench.listLevel(wide)->size();
    state.counters["entries"] = static_cast<double>(entries);
}
BENCHMARK(FileListLevelOf10kEntries)->Unit(benchmark::kMillisecond)->UseRealTime();

// A level asked for while the index is being built: how many of the index's folder reads
// begin between the request and the level's own read, and how long it waits.
void FileLevelDuringIndexBuild(benchmark::State& state) {
    Engine bench;
    const Path home = tree().home.string();
    const Path wide = tree().wide.string();
    std::size_t mostReadsAhead = 0;
    double longestWaitMs = 0;
    for (auto _ : state) {
        bench.files.reset();
        std::promise<void> indexed;
        std::promise<double> levelWait;
        std::atomic<std::size_t> readsAtRequest{0};
        bench.mainLoop->post(
            [&] { bench.engine->buildIndex({home}, {}, [&](std::vector<FileEntry>) { indexed.set_value(); }); });
        // Ask once the build is well under way, from the main loop, as a key press would.
        while (bench.files.order().size() < 40) {
        }
        bench.mainLoop->post([&] {
            readsAtRequest = bench.files.order().size();
            const auto asked = Clock::now();
            bench.engine->listLevel(
                wide, {}, [&, asked](FileSearchEngine::Listing) { levelWait.set_value(millisecondsSince(asked)); });
        });
        const double waited = levelWait.get_future().get();
        indexed.get_future().wait();
        const std::vector<Path> order = bench.files.order();
        const auto levelRead = std::ranges::find(order, wide) - order.begin();
        mostReadsAhead = std::max(mostReadsAhead, static_cast<std::size_t>(levelRead) - readsAtRequest.load());
        longestWaitMs = std::max(longestWaitMs, waited);
    }
    state.counters["mostIndexReadsAhead"] = static_cast<double>(mostReadsAhead);
    state.counters["longestWaitMs"] = longestWaitMs;
    state.counters["longestFolderReadMs"] = bench.files.longestMs();
}
BENCHMARK(FileLevelDuringIndexBuild)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

// Every one-letter query over the index of 20,000 entries and a level of 200, as the
// palette ranks them on each key press; reports the slowest percentiles.
void FileMatchesOneLetter(benchmark::State& state) {
    Engine bench;
    const std::vector<FileEntry> index = bench.buildIndex(tree().home.string());
    const FileSearchEngine::Listing level = bench.listLevel(tree().wide.string());
    std::vector<const FileEntry*> pool;
    for (std::size_t i = 0; i < 200; ++i)
        pool.push_back(&(*level)[i]);
    for (const FileEntry& entry : index)
        pool.push_back(&entry);
    std::vector<double> times;
    for (auto _ : state) {
        for (char letter = 'a'; letter <= 'z'; ++letter) {
            const auto start = Clock::now();
            benchmark::DoNotOptimize(FileSearchEngine::matches(bench.text, std::string(1, letter), pool, 8));
            times.push_back(millisecondsSince(start));
        }
    }
    std::ranges::sort(times);
    state.counters["p50ms"] = times[times.size() / 2];
    state.counters["p99ms"] = times[times.size() * 99 / 100];
    state.counters["poolSize"] = static_cast<double>(pool.size());
}
BENCHMARK(FileMatchesOneLetter)->Unit(benchmark::kMillisecond);

}  // namespace
