#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "core/foundation/Uuid.h"
#include "core/model/JsonReader.h"
#include "core/model/JsonWriter.h"

namespace quillbern {

class PinnedItem;

// The most folders read inside one another; an item nested deeper is unreadable, so that
// reading and every walk of the folders stay within the stack.
inline constexpr std::size_t kMaxFolderDepth = 32;

struct PinnedApp {
    std::string bundleID;
    std::string name;
    // Where the application is found when its bundle identifier does not resolve.
    std::optional<std::string> fallbackPath;

    bool operator==(const PinnedApp&) const = default;

    // The payload members alone, as inside an item and in the older lists of applications.
    void write(JsonWriter& writer) const;
    static PinnedApp read(const JsonReader& reader);
};

// An older nested group of items; every load flattens it away.
struct PinnedFolder {
    Uuid id;
    std::string name;
    std::vector<PinnedItem> items;

    bool operator==(const PinnedFolder& other) const;
};

// A folder on disk, shown as a location tile.
struct PinnedLocation {
    Uuid id;
    std::string name;
    std::string path;

    bool operator==(const PinnedLocation&) const = default;
};

struct PinnedTrash {
    Uuid id;

    bool operator==(const PinnedTrash&) const = default;
};

// One tile of a dock.
class PinnedItem {
public:
    using Value = std::variant<PinnedApp, PinnedFolder, PinnedLocation, PinnedTrash>;

    PinnedItem(PinnedApp app) : value_(std::move(app)) {}
    PinnedItem(PinnedFolder folder) : value_(std::move(folder)) {}
    PinnedItem(PinnedLocation location) : value_(std::move(location)) {}
    PinnedItem(PinnedTrash trash) : value_(std::move(trash)) {}

    const Value& value() const { return value_; }
    Value& value() { return value_; }
    const PinnedApp* app() const { return std::get_if<PinnedApp>(&value_); }
    const PinnedFolder* folder() const { return std::get_if<PinnedFolder>(&value_); }
    PinnedFolder* folder() { return std::get_if<PinnedFolder>(&value_); }
    const PinnedLocation* location() const { return std::get_if<PinnedLocation>(&value_); }
    const PinnedTrash* trash() const { return std::get_if<PinnedTrash>(&value_); }

    // The stable identifier: "app:" and the bundle identifier, or the case name, a colon
    // and the upper-case UUID.
    std::string id() const;
    // The applications of this item; a folder's depth-first.
    std::vector<PinnedApp> flattenedApps() const;

    bool operator==(const PinnedItem&) const = default;

    // One case key holding {"_0": payload}.
    void write(JsonWriter& writer) const;
    // The first present case key decides the case; a folder's items are read strictly,
    // and folders at most kMaxFolderDepth deep.
    static PinnedItem read(const JsonReader& reader);

private:
    Value value_;
};

}  // namespace quillbern
