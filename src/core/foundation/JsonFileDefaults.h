#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

#include "core/foundation/Clock.h"
#include "core/foundation/Defaults.h"

namespace quillbern {

// The user's settings directory: $XDG_CONFIG_HOME when it is absolute, or ~/.config.
std::filesystem::path configHome();

// Ours within it: <configHome>/quillbern.
std::filesystem::path configDirectory();

// Defaults kept in one JSON file, one object whose members are the keys, replaced
// atomically on every assignment (through a symbolic link, to the file it names). A file
// that cannot be read (not a regular file, larger than 64 MB, not JSON, nested too deep)
// is moved aside under a dated name, never deleted, and the domain starts empty.
class JsonFileDefaults final : public Defaults {
public:
    // The domain's file is <configDirectory>/<domain>.json.
    static std::unique_ptr<JsonFileDefaults> openDomain(std::string_view domain, const Clock& clock);
    // Another domain's values, read and left as they are; none when its file is missing or
    // cannot be read.
    static std::optional<Json> readDomain(std::string_view domain);

    JsonFileDefaults(std::filesystem::path file, const Clock& clock);

    const std::filesystem::path& file() const { return file_; }
    // Where an unreadable file was moved at opening, if one was.
    const std::optional<std::filesystem::path>& movedAside() const { return movedAside_; }

private:
    struct Loaded {
        Json values;
        std::optional<std::filesystem::path> movedAside;
        bool writable;
    };
    static Loaded load(const std::filesystem::path& file, const Clock& clock);
    JsonFileDefaults(std::filesystem::path file, Loaded loaded);

    void persist(const Json& values, std::string_view changedKey) override;

    std::filesystem::path file_;
    std::optional<std::filesystem::path> movedAside_;
    // False when an unreadable file could not be moved aside: writing would destroy it.
    bool writable_;
};

}  // namespace quillbern
