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

PinnedItem readPayload(std::size_t caseIndex, const JsonReader& payload) {
    switch (caseIndex) {
        case 0:
            return PinnedApp::read(payload);
        case 1: {
            PinnedFolder folder{payload.required("id").uuid(), payload.required("name").string(), {}};
            const JsonReader items = payload.required("items");
            const std::size_t count = items.arraySize();
            folder.items.reserve(count);
            for (std::size_t i = 0; i < count; ++i)
                folder.items.push_back(PinnedItem::read(items.element(i)));
            return folder;
        }
        case 2:
            return PinnedLocation{payload.required("id").uuid(), payload.required("name").string(),
                                  payload.required("path").string()};
        default:
            return PinnedTrash{payload.required("id").uuid()};
    }
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
    reader.expectObject();
    for (std::size_t i = 0; i < kCaseKeys.size(); ++i) {
        if (!reader.has(kCaseKeys[i])) continue;
        return readPayload(i, reader.required(kCaseKeys[i]).required(kPayloadKey));
    }
    reader.fail(DecodingError::Kind::dataCorrupted, "Unknown PinnedItem case");
}

}  // namespace quillbern
