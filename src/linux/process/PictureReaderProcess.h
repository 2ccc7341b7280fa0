#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

#include "core/platform/PictureReader.h"

namespace quillbern {

class ChildProcess;

// The program's picture reader (src/reader), opened once as the program starts, so that the
// same reader serves the whole run even once an update replaced its file or it was removed.
class ReaderProgram {
public:
    // The reader beside the program in its build tree, else where it is installed, opened at
    // the first call; none, with a line in the log, when it cannot be opened.
    static std::shared_ptr<const ReaderProgram> ofThisProgram();
    static std::shared_ptr<const ReaderProgram> at(const Path& path);

    ~ReaderProgram();
    ReaderProgram(const ReaderProgram&) = delete;
    ReaderProgram& operator=(const ReaderProgram&) = delete;

    // What the kernel runs it by.
    std::string runnablePath() const;

private:
    explicit ReaderProgram(int fd) : fd_(fd) {}
    int fd_;
};

// Reads the pictures of others in a picture reader, a process of the program's own, started
// when a picture is asked for, handed one picture at a time as an open file, and ended through
// its pidfd when a picture overruns its time, so nothing of a picture given up goes on. A
// reader that crashes or is ended costs only the picture it read; one that cannot start
// three times in a row is not started again. Pixels come back sized, and the size is checked
// against what was asked before a pixel is read. The reader ends with the program, and with
// the thread that started it: it watches both.
class PictureReaderProcess final : public PictureReader {
public:
    // Failed starts in a row after which no reader is started again.
    static constexpr int kMostFailedStarts = 3;

    // `purpose` names what the reader reads, for the log ("icons", "thumbnails"). Without a
    // program, every read is unavailable.
    PictureReaderProcess(std::shared_ptr<const ReaderProgram> program, std::string purpose);
    // Ends the reader, as `rest` does.
    ~PictureReaderProcess() override;
    PictureReaderProcess(const PictureReaderProcess&) = delete;
    PictureReaderProcess& operator=(const PictureReaderProcess&) = delete;

    PictureRead read(const PictureAsk& ask, Duration limit) override;
    // The reader is asked to end and is reaped; the next read starts another.
    void rest() override;
    void stop() override;

private:
    struct Reader;
    enum class Wait { ready, timedOut, stopped, closed };

    bool start();
    void failedToStart(const std::string& why);
    // How a reader is ended: asked to end, killed, or found ending by itself (the only one
    // waited for, briefly, since it is near its end).
    enum class Ending { rest, kill, gone };
    // Ends the reader; for one found ending by itself, how it ended, for the log.
    std::string end(Ending ending);
    // The next `size` bytes from the reader, waiting until `deadline` at most.
    Wait receive(std::byte* into, std::size_t size, std::chrono::steady_clock::time_point deadline);

    std::shared_ptr<const ReaderProgram> program_;
    const std::string purpose_;
    std::unique_ptr<Reader> reader_;
    int failedStarts_ = 0;
    std::atomic<bool> stopped_ = false;
    // Readable once stopped, so a read under way wakes.
    int stopSignal_;
};

}  // namespace quillbern
