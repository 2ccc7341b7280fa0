#include "DockModelSupport.h"

#include <algorithm>
#include <cstdio>

namespace quillbern {

Bytes bytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

Json parsedJson(const Bytes& data) {
    return Json::parse(data.begin(), data.end());
}

std::string seededId(int n) {
    char text[37];
    std::snprintf(text, sizeof text, "AAAAAAAA-0000-4000-8000-%012X", n);
    return text;
}

Uuid seededUuid(int n) {
    return *Uuid::parse(seededId(n));
}

Json dockJson(int n, std::string_view name, Json members) {
    members["id"] = seededId(n);
    members["name"] = name;
    return members;
}

Json appJson(std::string_view bundleID, std::string_view name) {
    return {{"app", {{"_0", {{"bundleID", bundleID}, {"name", name}}}}}};
}

std::unique_ptr<PinnedStore> DockWorld::startStore() {
    return std::make_unique<PinnedStore>(pinnedPorts());
}

Json DockWorld::storedJson(std::string_view key) const {
    const auto data = defaults.dataValue(key);
    return data ? parsedJson(*data) : Json();
}

std::vector<std::string> DockWorld::keysStartingWith(std::string_view prefix) const {
    std::vector<std::string> found;
    for (std::string& key : defaults.keys()) {
        if (key.starts_with(prefix)) found.push_back(std::move(key));
    }
    std::ranges::sort(found);
    return found;
}

}  // namespace quillbern
