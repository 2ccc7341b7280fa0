#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/foundation/Json.h"
#include "core/foundation/Uuid.h"
#include "core/model/JsonWriter.h"
#include "core/model/PinnedStore.h"
#include "sim/SimWorld.h"

namespace quillbern {

Bytes bytesOf(std::string_view text);
Json parsedJson(const Bytes& data);

// Identifiers of docks and items that tests store themselves, apart from the simulated
// UUID source's: "AAAAAAAA-0000-4000-8000-0000000000NN" with n in hexadecimal.
std::string seededId(int n);
Uuid seededUuid(int n);

// A stored dock with the given number and name, plus `members`.
Json dockJson(int n, std::string_view name, Json members = Json::object());
Json appJson(std::string_view bundleID, std::string_view name = "App");

// The stored form of a model value.
template <class T>
std::string written(const T& value) {
    JsonWriter writer;
    value.write(writer);
    return writer.text();
}

// A simulated machine with the dock store's collaborators and its stored values.
class DockWorld : public SimWorld {
public:
    std::unique_ptr<PinnedStore> startStore();

    void storeData(std::string_view key, std::string_view bytes) { defaults.setData(key, bytesOf(bytes)); }
    void storeProfiles(const Json& docks) { storeData("profiles.v1", docks.dump()); }
    // The data under `key` parsed as JSON; null when there is none.
    Json storedJson(std::string_view key) const;
    // Keys that begin with `prefix`, in sorted order.
    std::vector<std::string> keysStartingWith(std::string_view prefix) const;
};

}  // namespace quillbern
