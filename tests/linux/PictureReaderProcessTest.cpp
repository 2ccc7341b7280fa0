#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QColor>
#include <QImage>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <type_traits>
#include <vector>

#include "core/foundation/Log.h"
#include "linux/process/ChildProcess.h"
#include "linux/process/PictureReaderProcess.h"
#include "support/ScopedEnvironment.h"

namespace quillbern {
namespace {

namespace fs = std::filesystem;
using Outcome = PictureRead::Outcome;

// Measured: a process id handed to ChildProcess::hold, then signalled, ended an unrelated
// process. Only the code that starts processes can make the key that holds one.
static_assert(!std::is_default_constructible_v<ChildProcess::StartedHere>);
using SteadyClock = std::chrono::steady_clock;

// The processes this one started and has not reaped, from every thread's list of children.
std::vector<pid_t> children() {
    std::vector<pid_t> found;
    for (const auto& task : fs::directory_iterator("/proc/self/task")) {
        std::ifstream list(task.path() / "children");
        for (pid_t pid; list >> pid;)
            found.push_back(pid);
    }
    return found;
}

std::string statusLine(pid_t pid, const std::string& name) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(name + ":")) return line.substr(name.size() + 1);
    }
    return {};
}

// Waits, two seconds at most, until no child of this process is left.
bool noChildLeft() {
    const auto until = SteadyClock::now() + std::chrono::seconds(2);
    while (!children().empty() && SteadyClock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return children().empty();
}

// An SVG that takes its reader long, within every bound the reader checks: one path of many
// curves stroked wide, drawn again and again.
std::string slowSvg(int uses) {
    std::ostringstream svg;
    svg << R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="64" )"
        << R"(height="64"><defs><path id="p" fill="none" stroke="#345" stroke-width="200" d="M0,0)";
    for (int i = 0; i < 4000; ++i)
        svg << " Q" << (i * 7) % 64 << "," << (i * 13) % 64 << " " << (i * 11) % 64 << "," << (i * 5) % 64;
    svg << R"("/></defs>)";
    for (int i = 0; i < uses; ++i)
        svg << R"(<use xlink:href="#p"/>)";
    svg << "</svg>";
    return svg.str();
}

class PictureReaderProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() / ("quillbern-reader-" + std::to_string(::getpid()) + "-" + info->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    Path file(const std::string& name, const std::string& contents) const {
        const Path path = (dir / name).string();
        std::ofstream(path, std::ios::binary) << contents;
        return path;
    }
    Path png(const std::string& name, QColor colour) const {
        QImage image(48, 48, QImage::Format_ARGB32);
        image.fill(colour);
        const Path path = (dir / name).string();
        EXPECT_TRUE(image.save(QString::fromStdString(path), "png"));
        return path;
    }
    static QColor centre(const PixelBuffer& pixels) {
        const std::size_t at = (std::size_t(pixels.height / 2) * std::size_t(pixels.width) + pixels.width / 2) * 4;
        return QColor(pixels.rgbaPremultiplied[at], pixels.rgbaPremultiplied[at + 1], pixels.rgbaPremultiplied[at + 2],
                      pixels.rgbaPremultiplied[at + 3]);
    }
    static PictureAsk icon(const Path& path, int side = 32) {
        return {.kind = PictureAsk::Kind::icon, .file = path, .sidePx = side, .uri = {}, .mtime = {}};
    }

    fs::path dir;
};

std::shared_ptr<const ReaderProgram> programsReader() {
    return ReaderProgram::at(QUILLBERN_PICTURE_READER);
}

TEST_F(PictureReaderProcessTest, ReadsPicturesInAConfinedProcessThatHoldsNothingOfOurs) {
    PictureReaderProcess reader(programsReader(), "icons");
    const PictureRead red = reader.read(icon(png("red.png", Qt::red), 32), 10);
    ASSERT_EQ(red.outcome, Outcome::picture);
    EXPECT_EQ(red.pixels.width, 32);
    EXPECT_EQ(red.pixels.height, 32);
    EXPECT_EQ(centre(red.pixels), QColor(Qt::red));
    EXPECT_EQ(reader.read(icon(file("noise.png", "not a picture")), 10).outcome, Outcome::none);
    EXPECT_EQ(reader.read(icon((dir / "absent.png").string()), 10).outcome, Outcome::none);

    const std::vector<pid_t> running = children();
    ASSERT_EQ(running.size(), 1u) << "one reader serves them all";
    const pid_t pid = running.front();
    EXPECT_EQ(statusLine(pid, "Seccomp").find('2'), 1u) << "system calls filtered";
    EXPECT_EQ(statusLine(pid, "NoNewPrivs"), "\t1");
    // Beside its socket, its input and output, only what it made itself since.
    for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd")) {
        const std::string target = fs::read_symlink(fd.path()).string();
        if (fd.path().filename() == "3") {
            EXPECT_TRUE(target.starts_with("socket:")) << target;
        } else if (std::stoi(fd.path().filename().string()) < 3) {
            EXPECT_EQ(target, "/dev/null");
        } else {
            EXPECT_TRUE(target.starts_with("anon_inode:")) << fd.path() << " " << target;
        }
    }

    reader.rest();
    EXPECT_TRUE(noChildLeft()) << "at rest no reader runs";
    EXPECT_EQ(reader.read(icon(png("blue.png", Qt::blue)), 10).outcome, Outcome::picture) << "and one starts again";
}

// Measured: one SVG within every bound the reader checks held a core for hours, and every
// picture after it waited.
TEST_F(PictureReaderProcessTest, APictureOverItsTimeIsGivenUpAndItsReaderEndedAtOnce) {
    PictureReaderProcess reader(programsReader(), "icons");
    const Path slow = file("slow.svg", slowSvg(2000));
    const auto begun = SteadyClock::now();
    EXPECT_EQ(reader.read(icon(slow), 0.3).outcome, Outcome::overran);
    EXPECT_LT(SteadyClock::now() - begun, std::chrono::seconds(2));
    EXPECT_TRUE(noChildLeft()) << "nothing works on after a give-up";
    EXPECT_EQ(centre(reader.read(icon(png("plain.png", Qt::green)), 10).pixels), QColor(Qt::green));
}

// Waits, two seconds at most, until the process has ended, reaped or not.
bool endedBy(pid_t pid) {
    const auto ended = [pid] {
        return statusLine(pid, "State").find('Z') != std::string::npos || !fs::exists("/proc/" + std::to_string(pid));
    };
    const auto until = SteadyClock::now() + std::chrono::seconds(2);
    while (!ended() && SteadyClock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return ended();
}

TEST_F(PictureReaderProcessTest, AReaderEndedFromOutsideCostsOnlyItsPicture) {
    PictureReaderProcess reader(programsReader(), "icons");
    ASSERT_EQ(reader.read(icon(png("first.png", Qt::red)), 10).outcome, Outcome::picture);
    ASSERT_EQ(children().size(), 1u);
    const pid_t pid = children().front();
    std::thread killer([pid] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ::kill(pid, SIGKILL);
    });
    EXPECT_EQ(reader.read(icon(file("slow.svg", slowSvg(2000))), 10).outcome, Outcome::lost);
    killer.join();

    // Ended between pictures, it is started again for the next, which it costs nothing.
    ASSERT_EQ(reader.read(icon(png("next.png", Qt::blue)), 10).outcome, Outcome::picture);
    ASSERT_EQ(children().size(), 1u);
    const pid_t next = children().front();
    ::kill(next, SIGKILL);
    ASSERT_TRUE(endedBy(next));
    EXPECT_EQ(reader.read(icon(png("after.png", Qt::blue)), 10).outcome, Outcome::picture);
}

class MisbehavingReader : public PictureReaderProcessTest {
protected:
    void behave(const std::string& behaviour) {
        environment.set("QUILLBERN_TEST_READER", behaviour);
        environment.set("QUILLBERN_TEST_READER_STARTS", (dir / "starts").string());
    }
    int starts() const {
        std::ifstream in(dir / "starts");
        return int(std::count(std::istreambuf_iterator<char>(in), {}, '\n'));
    }

    ScopedEnvironment environment;
    PictureReaderProcess reader{ReaderProgram::at(QUILLBERN_MISBEHAVING_READER), "icons"};
};

TEST_F(MisbehavingReader, OneThatCrashesCostsItsPictureAndOneThatNeverAnswersOverruns) {
    behave("crash");
    EXPECT_EQ(reader.read(icon(png("a.png", Qt::red)), 10).outcome, Outcome::lost);
    EXPECT_EQ(reader.read(icon(png("b.png", Qt::red)), 10).outcome, Outcome::lost) << "started again for the next";
    EXPECT_EQ(starts(), 2);

    behave("silent");
    EXPECT_EQ(reader.read(icon(png("c.png", Qt::red)), 0.2).outcome, Outcome::overran);
    behave("oversized");
    EXPECT_EQ(reader.read(icon(png("d.png", Qt::red)), 10).outcome, Outcome::lost) << "its size checked first";
    EXPECT_TRUE(noChildLeft());
}

TEST_F(MisbehavingReader, OneThatCannotStartIsTriedAFewTimesThenNoMore) {
    behave("exit-at-start");
    EXPECT_EQ(reader.read(icon(png("a.png", Qt::red)), 10).outcome, Outcome::none) << "tried again for the next";
    EXPECT_EQ(reader.read(icon(png("b.png", Qt::red)), 10).outcome, Outcome::none);
    EXPECT_EQ(reader.read(icon(png("c.png", Qt::red)), 10).outcome, Outcome::unavailable) << "for good";
    EXPECT_EQ(starts(), PictureReaderProcess::kMostFailedStarts);
    behave("");
    EXPECT_EQ(reader.read(icon(png("d.png", Qt::red)), 10).outcome, Outcome::unavailable);
    EXPECT_EQ(starts(), PictureReaderProcess::kMostFailedStarts) << "not started again";
    EXPECT_TRUE(noChildLeft());
}

// A reader ends with the program, even one killed, and ends when it is told to stop.
TEST_F(PictureReaderProcessTest, AReaderEndsWithTheProgramThatStartedItAndAtAStop) {
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    const Path plain = png("plain.png", Qt::red);
    const pid_t program = ::fork();
    if (program == 0) {
        PictureReaderProcess reader(programsReader(), "icons");
        reader.read(icon(plain), 10);
        const pid_t readerPid = children().empty() ? 0 : children().front();
        ::write(pipe[1], &readerPid, sizeof readerPid);
        ::pause();
    }
    pid_t readerPid = 0;
    ASSERT_EQ(::read(pipe[0], &readerPid, sizeof readerPid), ssize_t(sizeof readerPid));
    ASSERT_GT(readerPid, 0);
    ::kill(program, SIGKILL);
    ::waitpid(program, nullptr, 0);
    EXPECT_TRUE(endedBy(readerPid)) << "it ended with the program";
    ::close(pipe[0]);
    ::close(pipe[1]);

    PictureReaderProcess reader(programsReader(), "icons");
    std::thread stopper([&reader] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        reader.stop();
    });
    const auto begun = SteadyClock::now();
    EXPECT_EQ(reader.read(icon(file("slow.svg", slowSvg(2000))), 10).outcome, Outcome::unavailable);
    EXPECT_LT(SteadyClock::now() - begun, std::chrono::seconds(2));
    stopper.join();
    EXPECT_EQ(reader.read(icon(plain), 10).outcome, Outcome::unavailable) << "nothing after a stop";
    EXPECT_TRUE(noChildLeft());
}

}  // namespace
}  // namespace quillbern
