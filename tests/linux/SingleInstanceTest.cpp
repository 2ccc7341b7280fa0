#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <vector>

#include "PrivateBus.h"

namespace {

using quillbern::testing::PrivateBus;
using quillbern::testing::spinEventsUntil;

// More than a start waits for an instance that does not answer.
constexpr int kStartLimitMs = 20000;

// Whether a start shares the test's process group, or has one of its own. A start the test
// stops needs its own: the kernel hangs up and continues every stopped process of a group
// that loses its last parent outside it, as the test's group does when the shell that
// started the run ends, while its own group keeps the test as that parent.
enum class Group { test, own };

// One start of the program, cut down to its single instance, in a session of the test's
// own: its runtime directory, and its session bus or none.
class Start {
public:
    Start(const QString& runtime, const std::optional<QString>& bus, const QStringList& urls, Group group,
          bool relaunch = false) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (relaunch) environment.insert(QStringLiteral("QUILLBERN_RELAUNCH"), QStringLiteral("1"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                           bus.value_or(QStringLiteral("unix:path=") + runtime + QStringLiteral("/no-bus")));
        process_.setProcessEnvironment(environment);
        if (group == Group::own) process_.setChildProcessModifier([] { ::setpgid(0, 0); });
        process_.start(QStringLiteral(QUILLBERN_SINGLE_INSTANCE_PROBE), urls);
    }
    ~Start() {
        if (process_.state() == QProcess::NotRunning) return;
        ::kill(static_cast<pid_t>(process_.processId()), SIGCONT);
        process_.kill();
        process_.waitForFinished(5000);
    }

    // What it wrote so far, one entry a line.
    QStringList lines() {
        output_ += process_.readAllStandardOutput();
        return QString::fromUtf8(output_).split(u'\n', Qt::SkipEmptyParts);
    }
    QString log() {
        errors_ += process_.readAllStandardError();
        return QString::fromUtf8(errors_);
    }
    bool says(const QString& line, int limitMs = kStartLimitMs) {
        return spinEventsUntil([&] { return lines().contains(line); }, limitMs);
    }
    bool isInstance() { return says(QStringLiteral("instance")); }
    // Its exit status once it ended by itself; none while it runs on.
    std::optional<int> ending(int limitMs = kStartLimitMs) {
        if (!spinEventsUntil([&] { return process_.state() == QProcess::NotRunning; }, limitMs)) return std::nullopt;
        if (process_.exitStatus() != QProcess::NormalExit) return -1;
        return process_.exitCode();
    }
    bool isRunning() const { return process_.state() != QProcess::NotRunning; }
    // How it ended: its exit status, or the signal that ended it.
    std::string howItEnded() const {
        return (process_.exitStatus() == QProcess::CrashExit ? "signal " : "status ") +
               std::to_string(process_.exitCode());
    }
    void signal(int number) { ::kill(static_cast<pid_t>(process_.processId()), number); }
    bool limitDescriptors(rlim_t count) {
        const rlimit limit{.rlim_cur = count, .rlim_max = count};
        return ::prlimit(static_cast<pid_t>(process_.processId()), RLIMIT_NOFILE, &limit, nullptr) == 0;
    }
    void end() {
        process_.kill();
        process_.waitForFinished(5000);
    }

private:
    QProcess process_;
    QByteArray output_;
    QByteArray errors_;
};

QStringList url(const char* text) {
    return {QString::fromLatin1(text)};
}

class SingleInstance : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(runtime_.isValid());
        ASSERT_TRUE(bus_->isRunning());
    }
    std::unique_ptr<Start> start(bool onBus, const QStringList& urls = {}, Group group = Group::test,
                                 bool relaunch = false) {
        return std::make_unique<Start>(runtime_.path(), onBus ? std::optional(bus_->address()) : std::nullopt, urls,
                                       group, relaunch);
    }

    QTemporaryDir runtime_;
    std::optional<PrivateBus> bus_{std::in_place};
};

TEST_F(SingleInstance, StartsOnTheBusAndWithoutItMeetTheSameInstance) {
    for (const bool instanceOnBus : {true, false}) {
        SCOPED_TRACE(instanceOnBus ? "instance on the bus" : "instance without a bus");
        const auto instance = start(instanceOnBus, url("quillbern://first"));
        ASSERT_TRUE(instance->isInstance()) << instance->log().toStdString();
        EXPECT_TRUE(instance->says(QStringLiteral("open quillbern://first")));
        const auto other = start(!instanceOnBus, url("quillbern://second"));
        EXPECT_EQ(other->ending(), 0) << other->log().toStdString();
        EXPECT_TRUE(instance->says(QStringLiteral("open quillbern://second")));
        const auto bare = start(!instanceOnBus);
        EXPECT_EQ(bare->ending(), 0);
        EXPECT_TRUE(instance->says(QStringLiteral("reopen")));
        instance->end();
    }
}

TEST_F(SingleInstance, OfFiftyStartsAtOnceOneRunsAndGetsEveryUrlOnce) {
    std::vector<std::unique_ptr<Start>> starts;
    for (int i = 0; i < 50; ++i)
        starts.push_back(start(i % 2 == 0, {QStringLiteral("quillbern://start/%1").arg(i)}));
    const auto running = [&starts] {
        return std::ranges::count_if(starts, [](const auto& each) { return each->isRunning(); });
    };
    ASSERT_TRUE(spinEventsUntil([&] { return running() <= 1; }, kStartLimitMs));
    ASSERT_EQ(running(), 1);
    Start* const instance = std::ranges::find_if(starts, [](const auto& each) { return each->isRunning(); })->get();
    for (auto& each : starts) {
        if (each.get() != instance) {
            EXPECT_EQ(each->ending(0), 0) << each->log().toStdString();
        }
    }
    ASSERT_TRUE(spinEventsUntil([&] { return instance->lines().size() == 51; }, kStartLimitMs));
    EXPECT_EQ(instance->lines().front(), QStringLiteral("instance"));
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(instance->lines().count(QStringLiteral("open quillbern://start/%1").arg(i)), 1) << i;
}

TEST_F(SingleInstance, ALinkOrAFifoInTheLocksPlaceIsRefusedAndWhatALinkNamesStaysAsItWas) {
    const QString lock = runtime_.filePath(QStringLiteral("quillbern.lock"));
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(QStringLiteral("precious"));
    ASSERT_TRUE(QFile::link(target, lock));
    const auto throughLink = start(false);
    EXPECT_EQ(throughLink->ending(), 1);
    EXPECT_TRUE(throughLink->log().contains(QStringLiteral("symbolic link"))) << throughLink->log().toStdString();
    EXPECT_FALSE(QFile::exists(target));
    ASSERT_TRUE(QFile::remove(lock));
    ASSERT_EQ(::mkfifo(QFile::encodeName(lock).constData(), 0600), 0);
    const auto atFifo = start(false);
    EXPECT_EQ(atFifo->ending(), 1);
    EXPECT_TRUE(atFifo->log().contains(QStringLiteral("not a regular file"))) << atFifo->log().toStdString();
}

TEST_F(SingleInstance, AStartNeverSaysItHandedOverToAnInstanceThatDidNotAnswer) {
    const auto stuck = start(true, {}, Group::own);
    ASSERT_TRUE(stuck->isInstance());
    stuck->signal(SIGSTOP);
    const auto unanswered = start(true, url("quillbern://unanswered"));
    // A start that runs on has found the instance gone: say how it ended.
    EXPECT_EQ(unanswered->ending(), 1) << "it ended as handed over, or not within its limit; it wrote \""
                                       << unanswered->lines().join(u'|').toStdString() << "\", and the instance "
                                       << (stuck->isRunning() ? "runs"
                                                              : "has ended (" + stuck->howItEnded() +
                                                                    "): " + stuck->log().toStdString());
    EXPECT_TRUE(unanswered->log().contains(QStringLiteral("did not answer"))) << unanswered->log().toStdString();
    // Woken, the instance never runs what the start gave up on.
    stuck->signal(SIGCONT);
    const auto later = start(false, url("quillbern://later"));
    EXPECT_EQ(later->ending(), 0);
    ASSERT_TRUE(stuck->says(QStringLiteral("open quillbern://later")));
    EXPECT_FALSE(stuck->lines().contains(QStringLiteral("open quillbern://unanswered")));

    // Killed, it leaves its socket behind; the next start runs its URL itself at once.
    stuck->signal(SIGKILL);
    ASSERT_TRUE(stuck->ending());
    ASSERT_TRUE(QFileInfo::exists(runtime_.filePath(QStringLiteral("quillbern.socket"))));
    for (const bool onBus : {true, false}) {
        const auto next = start(onBus, url("quillbern://next"));
        EXPECT_TRUE(next->isInstance()) << next->log().toStdString();
        EXPECT_TRUE(next->says(QStringLiteral("open quillbern://next")));
        next->signal(SIGKILL);
        ASSERT_TRUE(next->ending());
    }
}

TEST_F(SingleInstance, ClientsThatSendNothingWholeAreDroppedAndAStartIsStillServed) {
    const auto instance = start(false);
    ASSERT_TRUE(instance->isInstance());
    // Fewer descriptors than the clients below: held all at once, they would leave none for
    // a start.
    ASSERT_TRUE(instance->limitDescriptors(128));
    std::vector<std::unique_ptr<QLocalSocket>> clients;
    const auto connect = [this, &clients] {
        clients.push_back(std::make_unique<QLocalSocket>());
        clients.back()->connectToServer(runtime_.filePath(QStringLiteral("quillbern.socket")));
        return clients.back().get();
    };
    for (int i = 0; i < 200; ++i)
        connect();
    const auto served = start(false, url("quillbern://served"));
    ASSERT_EQ(served->ending(), 0) << served->log().toStdString();
    EXPECT_TRUE(instance->says(QStringLiteral("open quillbern://served")));

    QLocalSocket* const unfinished = connect();
    ASSERT_TRUE(unfinished->waitForConnected(kStartLimitMs));
    unfinished->write(R"(["quillbern://never-ended")");
    unfinished->flush();
    EXPECT_TRUE(spinEventsUntil(
        [&clients] {
            return std::ranges::all_of(
                clients, [](const auto& client) { return client->state() == QLocalSocket::UnconnectedState; });
        },
        kStartLimitMs));
    EXPECT_EQ(instance->lines(), QStringList({QStringLiteral("instance"), QStringLiteral("open quillbern://served")}));
}

TEST_F(SingleInstance, ARelaunchWaitsForTheInstanceToEndRatherThanHandOverToIt) {
    const auto instance = start(true);
    ASSERT_TRUE(instance->isInstance());
    const auto relaunch = start(true, url("quillbern://relaunched"), Group::test, true);
    EXPECT_FALSE(relaunch->says(QStringLiteral("instance"), 500));
    instance->end();
    EXPECT_TRUE(relaunch->isInstance()) << relaunch->log().toStdString();
    EXPECT_TRUE(relaunch->says(QStringLiteral("open quillbern://relaunched")));
    EXPECT_EQ(instance->lines(), QStringList{QStringLiteral("instance")}) << "nothing was handed to the old one";
}

TEST_F(SingleInstance, TheInstanceOutlivesItsSessionBusAndIsStillReached) {
    const auto instance = start(true);
    ASSERT_TRUE(instance->isInstance());
    bus_.reset();
    const QString gone = QStringLiteral("the session bus has gone away");
    ASSERT_TRUE(spinEventsUntil([&] { return instance->log().contains(gone); }, kStartLimitMs))
        << instance->log().toStdString();
    const auto other = start(false, url("quillbern://after-the-bus"));
    EXPECT_EQ(other->ending(), 0) << other->log().toStdString();
    EXPECT_TRUE(instance->says(QStringLiteral("open quillbern://after-the-bus")));
    EXPECT_FALSE(instance->ending(0)) << instance->log().toStdString();
    EXPECT_EQ(instance->log().count(gone), 1);
}

}  // namespace
