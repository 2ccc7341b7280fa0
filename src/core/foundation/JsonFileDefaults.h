#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/foundation/Clock.h"
#include "core/foundation/Defaults.h"
#include "core/foundation/Lifetime.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/SerialQueue.h"

namespace quillbern {

// The user's settings directory: $XDG_CONFIG_HOME when it is absolute, or ~/.config.
std::filesystem::path configHome();

// Ours within it: <configHome>/quillbern.
std::filesystem::path configDirectory();

// Defaults kept in one JSON file, one object whose members are the keys, replaced
// atomically on every change (through a symbolic link, to the regular file it names; a link
// to anything else is replaced, never what it points to). A file that cannot be read (not a
// regular file, larger than 64 MB, not JSON, nested too deep) is moved aside under a dated
// name, never deleted, and the domain starts empty.
//
// Given a queue of its own, the file is written there: the domain as it stands at the end
// of each turn of the main loop that changed it is handed over at once, written in order,
// and a newer state replaces an older one not yet begun, so the main loop neither
// serialises nor waits for the disk. Without one, each assignment writes on the spot.
class JsonFileDefaults final : public Defaults {
public:
    // Where saves are written: the main loop hands them over, the queue writes them.
    struct Saving {
        RunLoop& mainLoop;
        std::unique_ptr<SerialQueue> queue;
    };
    // How long flush and the end of the defaults wait for the file to be written.
    static constexpr Duration kFlushLimit = 2.0;

    // The domain's file is <configDirectory>/<domain>.json.
    static std::unique_ptr<JsonFileDefaults> openDomain(std::string_view domain, const Clock& clock,
                                                        std::optional<Saving> saving = std::nullopt);
    // Another domain's values, read and left as they are; none when its file is missing or
    // cannot be read.
    static std::optional<Json> readDomain(std::string_view domain);

    JsonFileDefaults(std::filesystem::path file, const Clock& clock, std::optional<Saving> saving = std::nullopt);
    // Writes what is still to be written first, within kFlushLimit.
    ~JsonFileDefaults() override;

    const std::filesystem::path& file() const { return file_; }
    // Where an unreadable file was moved at opening, if one was.
    const std::optional<std::filesystem::path>& movedAside() const { return movedAside_; }

    // Hands over the state of now and waits, within kFlushLimit, until it is written.
    void flush() override;

private:
    struct Loaded {
        Json values;
        std::optional<std::filesystem::path> movedAside;
        bool writable;
    };
    // What the queue shares with the defaults; it may outlive them on a queue left behind.
    struct Writer;
    static Loaded load(const std::filesystem::path& file, const Clock& clock);
    JsonFileDefaults(std::filesystem::path file, Loaded loaded, std::optional<Saving> saving);

    void persist(const Json& values, std::string_view changedKey) override;
    // Gives the queue the domain as it stands, if it changed since it was last given.
    void handOver();

    std::filesystem::path file_;
    std::optional<std::filesystem::path> movedAside_;
    // False when an unreadable file could not be moved aside: writing would destroy it.
    bool writable_;
    RunLoop* mainLoop_ = nullptr;
    std::unique_ptr<SerialQueue> queue_;
    std::shared_ptr<Writer> writer_;
    // The key of the latest change not yet handed over; a handing over is posted for it.
    std::optional<std::string> unsaved_;
    Lifetime lifetime_;
};

}  // namespace quillbern
