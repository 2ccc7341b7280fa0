#include "linux/process/PictureReaderProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <system_error>

#include "config/BuildConfig.h"
#include "core/foundation/Log.h"
#include "core/foundation/RegularFile.h"
#include "linux/process/ChildProcess.h"
#include "linux/process/LinuxProcesses.h"
#include "picture/PictureWire.h"

namespace quillbern {

namespace {

using SteadyClock = std::chrono::steady_clock;

// What a reader may take to start: Qt's start, a few libraries read from disk.
constexpr auto kStartLimit = std::chrono::seconds(5);
// What a reader asked to end, or killed, may take to go before it is left to be reaped aside.
constexpr auto kEndingTime = std::chrono::milliseconds(500);

SteadyClock::time_point after(Duration seconds) {
    return SteadyClock::now() +
           std::chrono::duration_cast<SteadyClock::duration>(std::chrono::duration<double>(std::max(seconds, 0.0)));
}

PictureKind wireKind(PictureAsk::Kind kind) {
    switch (kind) {
        case PictureAsk::Kind::icon:
            return PictureKind::icon;
        case PictureAsk::Kind::thumbnail:
            return PictureKind::thumbnail;
        case PictureAsk::Kind::storedThumbnail:
            break;
    }
    return PictureKind::storedThumbnail;
}

}  // namespace

std::shared_ptr<const ReaderProgram> ReaderProgram::ofThisProgram() {
    static const std::shared_ptr<const ReaderProgram> program = [] {
        namespace fs = std::filesystem;
        std::error_code error;
        const fs::path folder = fs::read_symlink("/proc/self/exe", error).parent_path();
        const fs::path buildTree(build::kBuildTree);
        if (fs::equivalent(folder, buildTree, error)) return at((buildTree / "quillbern-picture-reader").string());
        return at((folder / build::kReaderFromProgram).lexically_normal().string());
    }();
    return program;
}

std::shared_ptr<const ReaderProgram> ReaderProgram::at(const Path& path) {
    const int fd = ::open(path.c_str(), O_PATH | O_CLOEXEC);
    if (fd < 0) {
        log("the picture reader cannot be opened (", escapedForLog(path), ": ", std::strerror(errno),
            "); pictures from files and icon themes show stand-ins — install Quillbern again");
        return nullptr;
    }
    return std::shared_ptr<const ReaderProgram>(new ReaderProgram(fd));
}

ReaderProgram::~ReaderProgram() {
    ::close(fd_);
}

std::string ReaderProgram::runnablePath() const {
    return "/proc/self/fd/" + std::to_string(fd_);
}

struct PictureReaderProcess::Reader {
    std::unique_ptr<ChildProcess> process;
    int socket = -1;

    ~Reader() {
        if (socket >= 0) ::close(socket);
    }
};

PictureReaderProcess::PictureReaderProcess(std::shared_ptr<const ReaderProgram> program, std::string purpose)
    : program_(std::move(program)), purpose_(std::move(purpose)), stopSignal_(::eventfd(0, EFD_CLOEXEC)) {}

PictureReaderProcess::~PictureReaderProcess() {
    rest();
    if (stopSignal_ >= 0) ::close(stopSignal_);
}

void PictureReaderProcess::stop() {
    stopped_ = true;
    const std::uint64_t one = 1;
    if (::write(stopSignal_, &one, sizeof one) < 0) {
        // The next wait sees `stopped_` anyway.
    }
}

void PictureReaderProcess::rest() {
    end(Ending::rest);
}

std::string PictureReaderProcess::end(Ending ending) {
    if (!reader_) return {};
    const std::unique_ptr<Reader> reader = std::move(reader_);
    ChildProcess& process = *reader->process;
    // Its end of the socket closes, which a reader waiting for the next picture takes as its end.
    ::close(std::exchange(reader->socket, -1));
    if (ending == Ending::kill) process.signal(SIGKILL);
    if (ending != Ending::gone) {
        // Nobody waits for it: it is reaped aside as it goes.
        process.reapIfEnded();
        return {};
    }
    if (!process.endsBy(SteadyClock::now() + kEndingTime)) {
        process.signal(SIGKILL);
        return "killed, as it did not end";
    }
    const std::optional<int> status = process.waitForExit();
    return status ? "exit status " + std::to_string(*status) : std::string("ended by a signal");
}

void PictureReaderProcess::failedToStart(const std::string& why) {
    const std::string ended = end(Ending::gone);
    const std::string reason = why + (ended.empty() ? "" : " (" + ended + ")");
    if (++failedStarts_ < kMostFailedStarts) {
        log("the picture reader of ", purpose_, " did not start — ", reason,
            "; it is tried again for the next picture");
        return;
    }
    log("the picture reader of ", purpose_, " did not start ", kMostFailedStarts, " times in a row — ", reason,
        "; pictures from files and icon themes show stand-ins until Quillbern is started again");
}

bool PictureReaderProcess::start() {
    if (!program_ || failedStarts_ >= kMostFailedStarts) return false;
    std::array<int, 2> ends{};
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends.data()) != 0) {
        failedToStart(std::string("no socket for it: ") + std::strerror(errno));
        return false;
    }
    auto reader = std::make_unique<Reader>();
    reader->socket = ends[0];
    auto started = LinuxProcesses::startHanding(
        {.program = program_->runnablePath(), .args = {std::to_string(::getpid())}, .extraEnv = {}}, ends[1],
        "quillbern-picture-reader");
    ::close(ends[1]);
    if (!started) {
        failedToStart(escapedForLog(started.error().message));
        return false;
    }
    reader->process = std::move(started.value());
    reader_ = std::move(reader);
    std::array<std::byte, kReadyBytes> ready{};
    switch (receive(ready.data(), ready.size(), SteadyClock::now() + kStartLimit)) {
        case Wait::ready:
            if (isReady(ready)) {
                failedStarts_ = 0;
                return true;
            }
            failedToStart("it answered as another version of Quillbern would; start Quillbern again");
            return false;
        case Wait::timedOut:
            failedToStart("it did not say it was ready within 5 s");
            return false;
        case Wait::stopped:
            end(Ending::kill);
            return false;
        case Wait::closed:
            break;
    }
    failedToStart("it ended as it started");
    return false;
}

PictureReaderProcess::Wait PictureReaderProcess::receive(std::byte* into, std::size_t size,
                                                         SteadyClock::time_point deadline) {
    while (size > 0) {
        if (stopped_) return Wait::stopped;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - SteadyClock::now());
        if (left.count() <= 0) return Wait::timedOut;
        std::array<pollfd, 2> watched{pollfd{reader_->socket, POLLIN, 0}, pollfd{stopSignal_, POLLIN, 0}};
        const int ready = ::poll(watched.data(), watched.size(), int(std::min<long long>(left.count(), 60'000)));
        if (ready < 0 && errno != EINTR) return Wait::closed;
        if (ready <= 0 || !(watched[0].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        const ssize_t received = ::recv(reader_->socket, into, size, MSG_DONTWAIT);
        if (received < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (received <= 0) return Wait::closed;
        into += received;
        size -= std::size_t(received);
    }
    return Wait::ready;
}

PictureRead PictureReaderProcess::read(const PictureAsk& ask, Duration limit) {
    if (stopped_ || !program_) return {PictureRead::Outcome::unavailable, {}};
    const PictureKind kind = wireKind(ask.kind);
    Result<RegularFile> file = RegularFile::open(ask.file, mostFileBytes(kind));
    if (!file) return {};
    const PictureRequest request{kind, std::clamp(ask.sidePx, 1, kMostAskedSide), ask.uri, ask.mtime};
    // A reader that ended since its last picture (ended from outside, or short of memory) has
    // not taken this one: another is started for it, once.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!reader_ && !start()) {
            // A reader that may still start another time costs this picture alone.
            const bool forGood = stopped_ || failedStarts_ >= kMostFailedStarts;
            return {forGood ? PictureRead::Outcome::unavailable : PictureRead::Outcome::none, {}};
        }
        if (sendRequest(reader_->socket, request, file.value().descriptor())) break;
        end(Ending::gone);
        if (attempt == 1) return {PictureRead::Outcome::lost, {}};
    }
    const auto deadline = after(limit);
    std::array<std::byte, kAnswerSizeBytes> head{};
    Wait waited = receive(head.data(), head.size(), deadline);
    std::optional<AnswerSize> size;
    PixelBuffer pixels;
    if (waited == Wait::ready) {
        size = answerSize(head, request.side);
        if (!size) {
            end(Ending::kill);
            log("the picture reader of ", purpose_, " answered what is no picture; it was ended");
            return {PictureRead::Outcome::lost, {}};
        }
        pixels = {size->width, size->height, std::vector<std::uint8_t>(size->pixelBytes())};
        waited = receive(reinterpret_cast<std::byte*>(pixels.rgbaPremultiplied.data()), size->pixelBytes(), deadline);
    }
    switch (waited) {
        case Wait::ready:
            break;
        case Wait::timedOut:
            end(Ending::kill);
            return {PictureRead::Outcome::overran, {}};
        case Wait::stopped:
            end(Ending::kill);
            return {PictureRead::Outcome::unavailable, {}};
        case Wait::closed:
            log("the picture reader of ", purpose_, " ended while it read a picture (", end(Ending::gone),
                "); that picture is given up, and another reader reads the next");
            return {PictureRead::Outcome::lost, {}};
    }
    if (!size->found) return {};
    return {PictureRead::Outcome::picture, std::move(pixels)};
}

}  // namespace quillbern
