#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <sys/stat.h>
#include <thread>

namespace quillbern {

// A FIFO that tells whether anything opened it to read. A writer opens it over and over in a
// thread of its own, so a reader's open is answered at once (the reader then meets the end of
// the stream) and never holds the test; the writer notes each open before it closes, which
// the reader waits for, so an open is noted before the reader goes on.
class FifoWatch {
public:
    explicit FifoWatch(std::string path) : path_(std::move(path)) {
        ::mkfifo(path_.c_str(), 0600);
        writer_ = std::thread([this] {
            for (;;) {
                const int fd = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC);
                const bool released = releasing_.load();
                if (!released) opens_.fetch_add(1);
                if (fd >= 0) ::close(fd);
                if (released || fd < 0) return;
            }
        });
    }
    FifoWatch(const FifoWatch&) = delete;
    FifoWatch& operator=(const FifoWatch&) = delete;
    ~FifoWatch() { release(); }

    const std::string& path() const { return path_; }

    // How often a reader opened it; the watch ends here.
    int opens() {
        release();
        return opens_.load();
    }

private:
    void release() {
        if (!writer_.joinable()) return;
        releasing_.store(true);
        // A reader of our own answers the writer's open, waiting or still to come.
        const int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        writer_.join();
        if (fd >= 0) ::close(fd);
    }

    std::string path_;
    std::atomic<bool> releasing_{false};
    std::atomic<int> opens_{0};
    std::thread writer_;
};

}  // namespace quillbern
