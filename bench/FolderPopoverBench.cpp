#include <fcntl.h>
#include <unistd.h>

#include <benchmark/benchmark.h>
#include <filesystem>
#include <future>
#include <string>
#include <sys/stat.h>

#include "RunOnLoop.h"
#include "core/foundation/Clock.h"
#include "core/foundation/ThreadRunLoop.h"
#include "core/platform/SystemThreads.h"
#include "core/tiles/LocationBrowser.h"
#include "linux/freedesktop/LinuxFileSystem.h"
#include "sim/SimAlerts.h"
#include "sim/SimFolderEvents.h"
#include "sim/SimLauncher.h"
#include "sim/SimLog.h"
#include "sim/SimThumbnailer.h"

using namespace quillbern;
namespace fs = std::filesystem;

namespace {

// A pinned folder of 10,000 entries, 1,000 of them folders, each changed at its own time.
// Made once per run, removed at its end.
struct Folder {
    fs::path path = fs::temp_directory_path() / ("quillbern-bench-popover-" + std::to_string(::getpid()));

    Folder() {
        fs::create_directories(path);
        for (int i = 0; i < 10'000; ++i) {
            const fs::path item = path / ("item " + std::to_string(i) + (i % 10 == 0 ? "" : ".jpg"));
            if (i % 10 == 0) {
                fs::create_directory(item);
            } else if (const int fd = ::open(item.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644); fd >= 0) {
                ::close(fd);
            }
            // Dates in another order than the names.
            const timespec when[2] = {{0, UTIME_OMIT}, {1'600'000'000 + (i * 7919) % 10'000, 0}};
            ::utimensat(AT_FDCWD, item.c_str(), when, 0);
        }
    }
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

const Folder& folder() {
    static const Folder made;
    return made;
}

// The popovers' browser as the program runs it: listings on a thread of their own, back on
// a loop that stands for the main one.
struct Browser {
    SimLog quiet;
    SystemClock clock;
    SystemThreads threads;
    LinuxFileSystem files;
    SimFolderEvents folders;
    SimThumbnailer thumbnailer;
    SimLauncher launcher;
    SimAlerts alerts;
    std::unique_ptr<ThreadRunLoop> mainLoop = ThreadRunLoop::start("bench.main");
    std::unique_ptr<LocationBrowser> browser;

    Browser() {
        onMain([this] {
            browser = std::make_unique<LocationBrowser>(LocationBrowser::Ports{.mainLoop = *mainLoop,
                                                                               .clock = clock,
                                                                               .threads = threads,
                                                                               .files = files,
                                                                               .folderEvents = folders,
                                                                               .thumbnailer = thumbnailer,
                                                                               .launcher = launcher,
                                                                               .alerts = alerts});
        });
    }
    ~Browser() {
        onMain([this] { browser.reset(); });
    }
    template <class Fn>
    void onMain(Fn fn) {
        bench::runOn(*mainLoop, fn);
    }
    FolderListing list(const Path& path) {
        std::promise<FolderListing> listed;
        mainLoop->post(
            [&] { browser->list(path, [&](FolderListing listing) { listed.set_value(std::move(listing)); }); });
        return listed.get_future().get();
    }
};

// A popover on a folder of 10,000 entries: from the request on the main loop to its 100
// newest items back there, on a warm cache.
void FolderPopoverListsTheNewestOf10kEntries(benchmark::State& state) {
    Browser bench;
    const Path path = folder().path.string();
    std::size_t shown = 0;
    for (auto _ : state)
        shown = bench.list(path).entries.size();
    state.counters["shown"] = static_cast<double>(shown);
}
BENCHMARK(FolderPopoverListsTheNewestOf10kEntries)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
