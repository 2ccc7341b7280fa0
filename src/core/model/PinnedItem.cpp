#include "core/model/PinnedItem.h"

#include <array>
#include <string_view>

namespace quillbern {

namespace {

// The case keys in the order of the cases, which is also the order a reader tests them,
// and the wrapper of every payload.
constexpr std::array<std::string_view, 4> kCaseKeys{"app", "folder", "location", "trash"};
constexpr const char* kPayloadKey = "_0";

void appendApps(const PinnedItem& item, std::vector<PinnedApp>& apps) {
    if (const PinnedApp* app = item.app()) {
        apps.push_back(*app);
    } else if (const PinnedFolder* folder = item.folder()) {
        for (const PinnedItem& inner : folder->items)
            appendApps(inner, apps);
    }
}

PinnedItem readItem(const JsonReader& reader, std::size_t depth);

// `depth` counts the folders around the payload, so reading stops before the stack runs out.
PinnedItem readPayload(std::size_t caseIndex, const JsonReader& payload, std::size_t depth) {
    switch (caseIndex) {
        case 0:
            return PinnedApp::read(payload);
        case 1: {
            if (depth >= kMaxFolderDepth) {
                payload.fail(DecodingError::Kind::dataCorrupted, "Folders are nested too deep.");
            }
            PinnedFolder folder{payload.required("id").uuid(), payload.required("name").string(), {}};
            const JsonReader items = payload.required("items");
            const std::size_t count = items.arraySize();
            folder.items.reserve(count);
            for (std::size_t i = 0; i < count; ++i)
                folder.items.push_back(readItem(items.element(i), depth + 1));
            return folder;
        }
        case 2:
            return PinnedLocation{payload.required("id").uuid(), payload.required("name").string(),
                                  payload.required("path").string()};
        default:
            return PinnedTrash{payload.required("id").uuid()};
    }
}

PinnedItem readItem(const JsonReader& reader, std::size_t depth) {
    reader.expectObject();
    for (std::size_t i = 0; i < kCaseKeys.size(); ++i) {
        if (!reader.has(kCaseKeys[i])) continue;
        return readPayload(i, reader.required(kCaseKeys[i]).required(kPayloadKey), depth);
    }
    reader.fail(DecodingError::Kind::dataCorrupted, "Unknown PinnedItem case");
}

}  // namespace

void PinnedApp::write(JsonWriter& writer) const {
    writer.beginObject().key("bundleID").string(bundleID).key("name").string(name);
    if (fallbackPath) writer.key("fallbackPath").string(*fallbackPath);
    writer.endObject();
}

PinnedApp PinnedApp::read(const JsonReader& reader) {
    PinnedApp app{reader.required("bundleID").string(), reader.required("name").string(), std::nullopt};
    if (const auto path = reader.optional("fallbackPath")) app.fallbackPath = path->string();
    return app;
}

bool PinnedFolder::operator==(const PinnedFolder& other) const {
    return id == other.id && name == other.name && items == other.items;
}

std::string PinnedItem::id() const {
    struct Identifier {
        std::string operator()(const PinnedApp& app) const { return "app:" + app.bundleID; }
        std::string operator()(const PinnedFolder& folder) const { return "folder:" + folder.id.text(); }
        std::string operator()(const PinnedLocation& location) const { return "location:" + location.id.text(); }
        std::string operator()(const PinnedTrash& trash) const { return "trash:" + trash.id.text(); }
    };
    return std::visit(Identifier{}, value_);
}

std::vector<PinnedApp> PinnedItem::flattenedApps() const {
    std::vector<PinnedApp> apps;
    appendApps(*this, apps);
    return apps;
}

void PinnedItem::write(JsonWriter& writer) const {
    struct Payload {
        JsonWriter& writer;
        void operator()(const PinnedApp& app) const { app.write(writer); }
        void operator()(const PinnedFolder& folder) const {
            writer.beginObject().key("id").string(folder.id.text()).key("name").string(folder.name);
            writer.key("items").beginArray();
            for (const PinnedItem& item : folder.items)
                item.write(writer);
            writer.endArray().endObject();
        }
        void operator()(const PinnedLocation& location) const {
            writer.beginObject().key("id").string(location.id.text()).key("name").string(location.name);
            writer.key("path").string(location.path).endObject();
        }
        void operator()(const PinnedTrash& trash) const {
            writer.beginObject().key("id").string(trash.id.text()).endObject();
        }
    };
    writer.beginObject().key(kCaseKeys[value_.index()]).beginObject().key(kPayloadKey);
    std::visit(Payload{writer}, value_);
    writer.endObject().endObject();
}

PinnedItem PinnedItem::read(const JsonReader& reader) {
    return readItem(reader, 0);
}

}  // namespace quillbern
