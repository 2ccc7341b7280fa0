#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

#include "core/foundation/AtomicFile.h"
#include "core/foundation/JsonFileDefaults.h"
#include "core/foundation/JsonText.h"
#include "core/platform/SystemThreads.h"
#include "sim/ManualRunLoop.h"
#include "sim/SimClock.h"
#include "sim/SimDefaults.h"
#include "sim/SimLog.h"
#include "sim/SimSerialQueue.h"
#include "support/ScopedEnvironment.h"

using namespace quillbern;
namespace fs = std::filesystem;

namespace {

Bytes allByteValues() {
    Bytes bytes;
    for (int i = 0; i < 256; ++i)
        bytes.push_back(static_cast<std::uint8_t>(i));
    return bytes;
}

const Json kArray = Json::array({1, "two", 3.5, false, Json::array(), Json{{"k", "v"}}});
const Json kDictionary = {{"name", "Dock"}, {"size", 48}, {"nested", {{"on", true}, {"list", {1, 2}}}}};
const std::string kText = "Grüße \"quoted\"\nsecond line\t\\";
constexpr std::int64_t kBeyondDouble = 9'007'199'254'740'993;  // 2^53 + 1

void writeEveryType(Defaults& defaults) {
    defaults.set("bool.true", true);
    defaults.set("bool.false", false);
    defaults.set("int", 42);
    defaults.set("int.negative", -7);
    defaults.set("int.large", kBeyondDouble);
    defaults.set("double", 0.1);
    defaults.set("double.whole", 2.0);
    defaults.set("string", kText);
    defaults.set("string.empty", "");
    defaults.setData("data", allByteValues());
    defaults.setData("data.empty", {});
    defaults.set("array", kArray);
    defaults.set("dictionary", kDictionary);
}

void expectEveryType(const Defaults& defaults) {
    EXPECT_EQ(defaults.boolValue("bool.true"), true);
    EXPECT_EQ(defaults.boolValue("bool.false"), false);
    EXPECT_EQ(defaults.intValue("int"), 42);
    EXPECT_EQ(defaults.intValue("int.negative"), -7);
    EXPECT_EQ(defaults.intValue("int.large"), kBeyondDouble);
    EXPECT_EQ(defaults.doubleValue("double"), 0.1);
    EXPECT_EQ(defaults.doubleValue("double.whole"), 2.0);
    EXPECT_EQ(defaults.intValue("double.whole"), std::nullopt);  // still a double, not an integer
    EXPECT_EQ(defaults.stringValue("string"), kText);
    EXPECT_EQ(defaults.stringValue("string.empty"), "");
    EXPECT_EQ(defaults.dataValue("data"), allByteValues());
    EXPECT_EQ(defaults.dataValue("data.empty"), Bytes{});
    EXPECT_EQ(defaults.arrayValue("array"), kArray);
    EXPECT_EQ(defaults.dictionaryValue("dictionary"), kDictionary);
    EXPECT_EQ(defaults.keys().size(), 13u);
}

// The names in a directory, sorted.
std::vector<std::string> filesIn(const fs::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    std::ranges::sort(names);
    return names;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& path, std::string_view contents) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
}

// A fresh directory per test, removed afterwards.
class JsonFileDefaultsTest : public testing::Test {
protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        directory_ =
            fs::temp_directory_path() / ("quillbern-foundation-" + std::to_string(::getpid()) + "-" + info->name());
        fs::remove_all(directory_);
        fs::create_directories(directory_);
        clock_.setWallEpoch(WallTime{1'700'000'000});  // 2023-11-14 22:13:20 UTC
    }
    void TearDown() override { fs::remove_all(directory_); }

    fs::path directory_;
    SimClock clock_;
};

}  // namespace

TEST(Defaults, EveryTypeRoundTripsInMemory) {
    SimDefaults defaults;
    writeEveryType(defaults);
    expectEveryType(defaults);
    EXPECT_EQ(defaults.totalWrites(), 13);
}

TEST(Defaults, TypedReadsRefuseOtherTypes) {
    const SimDefaults defaults(Json{
        {"one", 1},
        {"truth", true},
        {"fraction", 2.5},
        {"text", "yes"},
        {"huge", std::numeric_limits<std::uint64_t>::max()},
        {"data", {{"$data", "AQID"}}},
        {"badData", {{"$data", "not base64!"}}},
        {"dataAndMore", {{"$data", "AQID"}, {"more", 1}}},
        {"list", {1, 2}},
        {"dictionary", {{"a", 1}}},
    });

    EXPECT_EQ(defaults.boolValue("truth"), true);
    EXPECT_EQ(defaults.boolValue("one"), std::nullopt);
    EXPECT_EQ(defaults.boolValue("text"), std::nullopt);

    EXPECT_EQ(defaults.intValue("one"), 1);
    EXPECT_EQ(defaults.intValue("fraction"), std::nullopt);
    EXPECT_EQ(defaults.intValue("truth"), std::nullopt);
    EXPECT_EQ(defaults.intValue("text"), std::nullopt);
    EXPECT_EQ(defaults.intValue("huge"), std::nullopt);

    EXPECT_EQ(defaults.doubleValue("one"), 1.0);
    EXPECT_EQ(defaults.doubleValue("fraction"), 2.5);
    EXPECT_EQ(defaults.doubleValue("truth"), std::nullopt);
    EXPECT_EQ(defaults.doubleValue("text"), std::nullopt);

    EXPECT_EQ(defaults.stringValue("text"), "yes");
    EXPECT_EQ(defaults.stringValue("one"), std::nullopt);
    EXPECT_EQ(defaults.stringValue("list"), std::nullopt);

    EXPECT_EQ(defaults.dataValue("data"), (Bytes{1, 2, 3}));
    EXPECT_EQ(defaults.dataValue("text"), std::nullopt);
    EXPECT_EQ(defaults.dataValue("badData"), std::nullopt);
    EXPECT_EQ(defaults.dataValue("dataAndMore"), std::nullopt);
    EXPECT_EQ(defaults.dataValue("dictionary"), std::nullopt);

    EXPECT_EQ(defaults.arrayValue("list"), Json({1, 2}));
    EXPECT_EQ(defaults.arrayValue("dictionary"), std::nullopt);
    EXPECT_EQ(defaults.dictionaryValue("dictionary"), Json({{"a", 1}}));
    EXPECT_EQ(defaults.dictionaryValue("data"), std::nullopt);  // data is not a dictionary
    EXPECT_TRUE(defaults.dictionaryValue("dataAndMore").has_value());
    EXPECT_EQ(defaults.dictionaryValue("list"), std::nullopt);

    EXPECT_FALSE(defaults.contains("absent"));
    EXPECT_EQ(defaults.value("absent"), std::nullopt);
    EXPECT_EQ(defaults.boolValue("absent"), std::nullopt);
    EXPECT_EQ(defaults.dataValue("absent"), std::nullopt);
}

TEST(Defaults, NonObjectInitialValuesStartEmpty) {
    const SimDefaults defaults(Json::array({1, 2}));
    EXPECT_TRUE(defaults.keys().empty());
}

TEST(Defaults, ObserversFireOnRealChangesOfTheirKeyOnly) {
    SimDefaults defaults;
    std::vector<std::optional<std::int64_t>> seen;  // the value as the observer reads it
    int otherCalls = 0;
    Subscription volume = defaults.observe("volume", [&] { seen.push_back(defaults.intValue("volume")); });
    Subscription second = defaults.observe("volume", [&] { ++otherCalls; });
    Subscription data = defaults.observe("icon", [&] { ++otherCalls; });

    defaults.set("volume", 1);
    defaults.set("volume", 1);
    EXPECT_EQ(defaults.writeCount("volume"), 1) << "an equal value is not written again";
    defaults.set("balance", 1);
    defaults.set("volume", 2);
    defaults.remove("volume");
    defaults.remove("volume");
    EXPECT_EQ(seen, (std::vector<std::optional<std::int64_t>>{1, 2, std::nullopt}));
    EXPECT_EQ(otherCalls, 3);
    EXPECT_EQ(defaults.writeCount("balance"), 1);

    defaults.setData("icon", {1, 2});
    defaults.setData("icon", {1, 2});
    defaults.setData("icon", {1, 3});
    EXPECT_EQ(otherCalls, 5);
    EXPECT_EQ(defaults.writeCount("icon"), 2);

    volume.reset();
    defaults.set("volume", 9);
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_EQ(otherCalls, 6);

    defaults.resetWriteCounts();
    EXPECT_EQ(defaults.totalWrites(), 0);
    EXPECT_EQ(defaults.writeCount("volume"), 0);
}

TEST(Defaults, ANumberOfAnotherKindIsAChange) {
    SimDefaults defaults;
    defaults.set("limit", 1);
    int changes = 0;
    Subscription limit = defaults.observe("limit", [&] { ++changes; });
    defaults.set("limit", 1.0);
    EXPECT_EQ(changes, 1) << "the typed reads differ now";
    EXPECT_EQ(defaults.intValue("limit"), std::nullopt);
    EXPECT_EQ(defaults.doubleValue("limit"), 1.0);
}

TEST(Defaults, ObserverSubscriptionMayOutliveTheDefaults) {
    Subscription kept;
    {
        SimDefaults defaults;
        kept = defaults.observe("key", [] {});
    }
    kept.reset();
    EXPECT_FALSE(kept);
}

TEST_F(JsonFileDefaultsTest, EveryTypeSurvivesReopening) {
    const fs::path file = directory_ / "nested" / "domain.json";
    {
        JsonFileDefaults defaults(file, clock_);
        EXPECT_TRUE(defaults.keys().empty());
        EXPECT_FALSE(defaults.movedAside());
        writeEveryType(defaults);
    }
    JsonFileDefaults reopened(file, clock_);
    EXPECT_FALSE(reopened.movedAside());
    expectEveryType(reopened);
    EXPECT_EQ(filesIn(file.parent_path()), std::vector<std::string>{"domain.json"});
}

TEST_F(JsonFileDefaultsTest, DataIsStoredAsBase64Member) {
    const fs::path file = directory_ / "data.json";
    {
        JsonFileDefaults defaults(file, clock_);
        defaults.setData("icon", {'h', 'i'});
    }
    EXPECT_EQ(Json::parse(readFile(file)), Json({{"icon", {{"$data", "aGk="}}}}));

    writeFile(file, R"({"icon": {"$data": "aGVsbG8="}, "size": 5})");
    JsonFileDefaults seeded(file, clock_);
    EXPECT_EQ(seeded.dataValue("icon"), (Bytes{'h', 'e', 'l', 'l', 'o'}));
    EXPECT_EQ(seeded.intValue("size"), 5);
}

TEST_F(JsonFileDefaultsTest, OnlyAChangeRewritesTheFileSoAnEditByHandMeanwhileStays) {
    const fs::path file = directory_ / "domain.json";
    JsonFileDefaults defaults(file, clock_);
    defaults.set("size", 48);
    const std::string byHand = R"({"size": 48, "name": "typed in"})";
    writeFile(file, byHand);
    defaults.set("size", 48);
    defaults.remove("absent");
    EXPECT_EQ(readFile(file), byHand);
    defaults.remove("size");
    EXPECT_EQ(Json::parse(readFile(file)), Json::object());
}

TEST_F(JsonFileDefaultsTest, SavesGoToTheirQueueOnceATurnAndANewerStateReplacesOneNotYetWritten) {
    const fs::path file = directory_ / "domain.json";
    ManualRunLoop loop(clock_);
    auto owned = std::make_unique<SimSerialQueue>("save", [](SimSerialQueue*) {});
    SimSerialQueue& queue = *owned;
    JsonFileDefaults defaults(file, clock_, JsonFileDefaults::Saving{loop, std::move(owned)});
    for (int size = 1; size <= 100; ++size)
        defaults.set("size", size);
    EXPECT_FALSE(fs::exists(file)) << "nothing is written on the caller's thread";
    clock_.runUntilIdle();
    EXPECT_EQ(queue.pendingCount(), 1u) << "the turn's hundred assignments make one save";
    defaults.set("name", "new");
    clock_.runUntilIdle();
    EXPECT_EQ(queue.pendingCount(), 1u) << "the newer state waits in the older one's place";
    queue.runAll();
    EXPECT_EQ(Json::parse(readFile(file)), Json({{"size", 100}, {"name", "new"}}));
}

TEST_F(JsonFileDefaultsTest, WhatIsNotYetWrittenIsWrittenByFlushAndAtTheEnd) {
    const fs::path file = directory_ / "domain.json";
    SystemThreads threads;
    ManualRunLoop loop(clock_);
    {
        JsonFileDefaults defaults(file, clock_, JsonFileDefaults::Saving{loop, threads.serialQueue("quillbern.save")});
        defaults.set("size", 48);
        defaults.flush();
        EXPECT_EQ(Json::parse(readFile(file)), Json({{"size", 48}})) << "before the loop turned";
        defaults.set("name", "last");
    }
    EXPECT_EQ(Json::parse(readFile(file)), Json({{"size", 48}, {"name", "last"}}));
}

TEST_F(JsonFileDefaultsTest, CrashBeforeTheRenameLeavesTheOldFileWhole) {
    const fs::path file = directory_ / "domain.json";
    {
        JsonFileDefaults defaults(file, clock_);
        defaults.set("size", 48);
        defaults.set("name", "old");
    }
    const std::string before = readFile(file);

    // The replacement was written, and the process died before renaming it.
    const auto stale = writeTemporaryFile(file, R"({"size": 64, "name": "ne)");
    ASSERT_TRUE(stale);
    EXPECT_EQ(stale.value().parent_path(), directory_);
    EXPECT_EQ(readFile(file), before);

    {
        JsonFileDefaults reopened(file, clock_);
        EXPECT_FALSE(reopened.movedAside());
        EXPECT_EQ(reopened.intValue("size"), 48);
        EXPECT_EQ(reopened.stringValue("name"), "old");
        reopened.set("name", "new");  // the stale temporary file does not get in the way
    }
    EXPECT_EQ(filesIn(directory_).size(), 2u) << "the save used a temporary file of its own";
    JsonFileDefaults after(file, clock_);
    EXPECT_EQ(after.stringValue("name"), "new");
    EXPECT_EQ(after.intValue("size"), 48);
}

// A save killed between writing its temporary file and renaming it leaves the file behind;
// the next start removes it, and never one whose writer still runs.
TEST_F(JsonFileDefaultsTest, TheNextStartRemovesTheTemporaryFilesOfKilledSavesOnly) {
    SimLog log;
    const fs::path file = directory_ / "domain.json";
    std::ofstream(file) << R"({"size": 48})";
    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        if (writeTemporaryFile(file, R"({"size": 64})")) ::raise(SIGKILL);
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(writer, &status, 0), writer);
    ASSERT_TRUE(WIFSIGNALED(status)) << "killed after writing";
    const auto live = writeTemporaryFile(file, R"({"size": 96})");
    ASSERT_TRUE(live);
    std::ofstream(directory_ / "domain.json.tmp-notes") << "not ours";
    ASSERT_EQ(filesIn(directory_).size(), 4u);

    const JsonFileDefaults reopened(file, clock_);
    EXPECT_EQ(reopened.intValue("size"), 48);
    std::vector<std::string> kept{"domain.json", "domain.json.tmp-notes", live.value().filename().string()};
    std::ranges::sort(kept);
    EXPECT_EQ(filesIn(directory_), kept);
    EXPECT_TRUE(log.contains("temporary files that interrupted saves left beside " + file.string() + " removed: 1"));
}

TEST_F(JsonFileDefaultsTest, AFailedSaveLeavesNoTemporaryFileBehind) {
    SimLog log;
    const fs::path file = directory_ / "domain.json";
    JsonFileDefaults defaults(file, clock_);
    fs::create_directories(file / "in the way");  // a directory cannot be replaced by a file
    defaults.set("size", 48);
    EXPECT_EQ(log.count("settings not saved (key size): cannot replace"), 1);
    EXPECT_EQ(filesIn(directory_), std::vector<std::string>{"domain.json"});
}

TEST_F(JsonFileDefaultsTest, UnreadableFileIsMovedAsideUnderADatedName) {
    const std::string stamp = ".unreadable-20231114-221320";
    int index = 0;
    for (const std::string contents : {"{\"size\": 48,", "[1, 2, 3]", "", "\"just a string\""}) {
        SCOPED_TRACE("contents: " + contents);
        SimLog log;
        const fs::path file = directory_ / ("case" + std::to_string(++index)) / "domain.json";
        writeFile(file, contents);

        JsonFileDefaults defaults(file, clock_);
        const fs::path aside = file.string() + stamp;
        EXPECT_EQ(defaults.movedAside(), aside);
        EXPECT_TRUE(defaults.keys().empty());
        EXPECT_FALSE(fs::exists(file));
        ASSERT_TRUE(fs::exists(aside));
        EXPECT_EQ(readFile(aside), contents);
        EXPECT_EQ(log.count(aside.string()), 1);
        EXPECT_EQ(log.count("Quillbern: settings file"), 1);

        defaults.set("size", 64);
        EXPECT_EQ(Json::parse(readFile(file)), Json({{"size", 64}}));
        EXPECT_EQ(readFile(aside), contents);
    }
}

TEST_F(JsonFileDefaultsTest, SecondUnreadableFileInTheSameSecondGetsASuffix) {
    SimLog log;
    const fs::path file = directory_ / "domain.json";
    const std::string base = file.string() + ".unreadable-20231114-221320";

    writeFile(file, "first garbage");
    EXPECT_EQ(JsonFileDefaults(file, clock_).movedAside(), fs::path(base));

    clock_.advance(0.5);
    writeFile(file, "second garbage");
    EXPECT_EQ(JsonFileDefaults(file, clock_).movedAside(), fs::path(base + "-2"));

    clock_.advance(0.6);
    writeFile(file, "third garbage");
    EXPECT_EQ(JsonFileDefaults(file, clock_).movedAside(), fs::path(file.string() + ".unreadable-20231114-221321"));

    EXPECT_EQ(readFile(base), "first garbage");
    EXPECT_EQ(readFile(base + "-2"), "second garbage");
    EXPECT_EQ(log.count("cannot be read"), 3);
}

TEST_F(JsonFileDefaultsTest, XdgConfigHomeDecidesTheDirectory) {
    ScopedEnvironment environment;
    environment.set("HOME", (directory_ / "home").string());

    environment.set("XDG_CONFIG_HOME", (directory_ / "xdg").string());
    EXPECT_EQ(configDirectory(), directory_ / "xdg" / "quillbern");
    {
        auto defaults = JsonFileDefaults::openDomain("app", clock_);
        ASSERT_NE(defaults, nullptr);
        EXPECT_EQ(defaults->file(), directory_ / "xdg" / "quillbern" / "app.json");
        defaults->set("size", 1);
        EXPECT_TRUE(fs::exists(directory_ / "xdg" / "quillbern" / "app.json"));
    }

    // Unset, empty or relative: the XDG default under HOME.
    const fs::path fallback = directory_ / "home" / ".config" / "quillbern";
    environment.set("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(configDirectory(), fallback);
    environment.set("XDG_CONFIG_HOME", "");
    EXPECT_EQ(configDirectory(), fallback);
    environment.set("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(configDirectory(), fallback);
}

TEST_F(JsonFileDefaultsTest, TheLogSaysWhyAFileCannotBeRead) {
    struct Case {
        std::string name;
        std::function<void(const fs::path&)> make;
        std::string reason;
    };
    const std::vector<Case> cases{
        {"cut short", [](const fs::path& file) { writeFile(file, "{\"size\": 48,"); }, "not JSON at line 1 column 13"},
        {"not an object", [](const fs::path& file) { writeFile(file, "[1, 2, 3]"); }, "not a JSON object"},
        {"empty", [](const fs::path& file) { writeFile(file, ""); }, "empty"},
        {"nested too deep",
         [](const fs::path& file) {
             writeFile(file, R"({"a": )" + std::string(300, '[') + std::string(300, ']') + "}");
         },
         "nested deeper than 256 levels"},
        {"a directory", [](const fs::path& file) { fs::create_directories(file); }, "not a regular file"},
        {"a fifo", [](const fs::path& file) { ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0); }, "not a regular file"},
        {"a device", [](const fs::path& file) { fs::create_symlink("/dev/zero", file); }, "not a regular file"},
        {"too large",
         [](const fs::path& file) {
             writeFile(file, "{}");
             fs::resize_file(file, (64u << 20) + 1);
         },
         "larger than 64 MB"},
        {"a loop of links",
         [](const fs::path& file) {
             fs::create_symlink(file.filename().string() + ".other", file);
             fs::create_symlink(file.filename(), file.string() + ".other");
         },
         "too many levels of symbolic links"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        SimLog log;
        const fs::path folder = directory_ / test.name;
        fs::create_directories(folder);
        const fs::path file = folder / "domain.json";
        test.make(file);

        JsonFileDefaults defaults(file, clock_);
        ASSERT_TRUE(defaults.movedAside());
        EXPECT_TRUE(defaults.keys().empty());
        EXPECT_EQ(log.count("cannot be read (" + test.reason + "); kept it as " + defaults.movedAside()->string()), 1)
            << testing::PrintToString(log.lines());
        defaults.set("size", 64);
        EXPECT_EQ(Json::parse(readFile(file)), Json({{"size", 64}}));
    }
}

TEST_F(JsonFileDefaultsTest, ADeeplyNestedFileStartsFreshAndIsKeptBeside) {
    SimLog log;
    const fs::path file = directory_ / "domain.json";
    const std::string nested =
        R"({"size": 48, "unknown": )" + std::string(100'000, '[') + std::string(100'000, ']') + "}";
    writeFile(file, nested);
    {
        JsonFileDefaults defaults(file, clock_);
        ASSERT_TRUE(defaults.movedAside());
        EXPECT_EQ(readFile(*defaults.movedAside()), nested);
        defaults.set("size", 64);
    }
    EXPECT_EQ(Json::parse(readFile(file)), Json({{"size", 64}}));
    EXPECT_FALSE(JsonFileDefaults(file, clock_).movedAside());
}

TEST_F(JsonFileDefaultsTest, ValuesTooDeepToReadBackAreNotWritten) {
    SimLog log;
    const fs::path file = directory_ / "domain.json";
    JsonFileDefaults defaults(file, clock_);
    defaults.set("size", 48);
    Json deep = 1;
    for (std::size_t level = 0; level < kMaxJsonDepth; ++level)
        deep = Json::array({std::move(deep)});
    defaults.set("deep", std::move(deep));  // one level more inside the file's object
    EXPECT_EQ(log.count("settings not saved (key deep): values nested deeper than 256 levels"), 1);
    EXPECT_EQ(Json::parse(readFile(file)), Json({{"size", 48}}));
}

TEST_F(JsonFileDefaultsTest, ASymbolicLinkStaysOneAndItsTargetTakesTheChange) {
    // A dotfiles folder with the real file, reached through two links, the first relative.
    const fs::path real = directory_ / "dotfiles" / "quillbern" / "domain.json";
    const fs::path middle = directory_ / "dotfiles" / "current.json";
    const fs::path file = directory_ / "config" / "quillbern" / "domain.json";
    writeFile(real, R"({"size": 48})");
    fs::create_symlink(real, middle);
    fs::create_directories(file.parent_path());
    fs::create_symlink("../../dotfiles/current.json", file);
    {
        JsonFileDefaults defaults(file, clock_);
        EXPECT_FALSE(defaults.movedAside());
        EXPECT_EQ(defaults.intValue("size"), 48);
        defaults.set("size", 64);
    }
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_TRUE(fs::is_symlink(middle));
    EXPECT_EQ(Json::parse(readFile(real)), Json({{"size", 64}}));
    EXPECT_EQ(filesIn(real.parent_path()), std::vector<std::string>{"domain.json"});
    EXPECT_EQ(filesIn(file.parent_path()), std::vector<std::string>{"domain.json"});

    // A link to a file not yet there: the first save creates it.
    const fs::path dangling = directory_ / "config" / "other.json";
    fs::create_symlink(directory_ / "dotfiles" / "other.json", dangling);
    JsonFileDefaults(dangling, clock_).set("size", 32);
    EXPECT_TRUE(fs::is_symlink(dangling));
    EXPECT_EQ(Json::parse(readFile(directory_ / "dotfiles" / "other.json")), Json({{"size", 32}}));

    // A link to no regular file (here a FIFO; a device as root) is replaced, what it names kept.
    JsonFileDefaults defaults(file, clock_);
    const fs::path fifo = directory_ / "dotfiles" / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::remove(file);
    fs::create_symlink(fifo, file);
    defaults.set("size", 16);
    EXPECT_EQ(fs::symlink_status(fifo).type(), fs::file_type::fifo);
    EXPECT_EQ(Json::parse(readFile(file)), Json({{"size", 16}}));
}

TEST_F(JsonFileDefaultsTest, ParallelWriterProcessesNeverMixTheirFiles) {
    const fs::path file = directory_ / "domain.json";
    constexpr int kWriters = 3;
    constexpr int kSaves = 150;
    // Each writer's whole state, one value: its number and a long text made of that number.
    const auto stateOf = [](int writer, int save) {
        return Json{{"writer", writer}, {"save", save}, {"text", std::string(20'000, static_cast<char>('a' + writer))}};
    };
    std::vector<pid_t> writers;
    for (int writer = 0; writer < kWriters; ++writer) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            SimLog log;
            JsonFileDefaults defaults(file, clock_);
            for (int save = 0; save < kSaves; ++save)
                defaults.set("state", stateOf(writer, save));
            ::_exit(log.count("not saved") == 0 ? 0 : 1);
        }
        writers.push_back(pid);
    }
    int reads = 0;
    int running = kWriters;
    while (running > 0) {
        for (pid_t& pid : writers) {
            int status = 0;
            if (pid > 0 && ::waitpid(pid, &status, WNOHANG) == pid) {
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer failed to save";
                pid = 0;
                --running;
            }
        }
        const std::string text = readFile(file);
        if (text.empty()) continue;  // not written yet
        ++reads;
        const Json read = Json::parse(text, nullptr, false);
        ASSERT_FALSE(read.is_discarded()) << "read " << reads << " is not whole";
        const Json& state = read["state"];
        EXPECT_EQ(state["text"], stateOf(state["writer"].get<int>(), 0)["text"])
            << "read " << reads << " mixes writers";
    }
    EXPECT_GT(reads, 0);
    EXPECT_EQ(filesIn(directory_), std::vector<std::string>{"domain.json"});
}
