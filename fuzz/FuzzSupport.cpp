#include "FuzzSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "core/foundation/Log.h"
#include "core/model/ProfileRepair.h"
#include "core/model/StoredProfiles.h"

namespace quillbern::fuzz {

namespace {

struct NullSink final : LogSink {
    void write(std::string_view) override {}
};

std::vector<PinnedLocation> locationsOf(const std::vector<PinnedItem>& items) {
    std::vector<PinnedLocation> found;
    std::vector<const PinnedItem*> pending;
    for (const PinnedItem& item : items)
        pending.push_back(&item);
    while (!pending.empty()) {
        const PinnedItem* item = pending.back();
        pending.pop_back();
        if (const PinnedLocation* location = item->location()) found.push_back(*location);
        if (const PinnedFolder* folder = item->folder()) {
            for (const PinnedItem& inner : folder->items)
                pending.push_back(&inner);
        }
    }
    return found;
}

// Every app and location `before` holds is in `after` with the same contents, and every
// member of the stored dock is one the saved form has (an older "pins" list is carried
// over as items, and a null stands for nothing).
void checkDockKept(const Profile& before, const Json& storedBefore, const Profile& after, const Json& savedAfter) {
    require(before.id == after.id && before.name == after.name, "a dock keeps its identity and name");
    const std::vector<PinnedApp> apps = after.allApps();
    for (const PinnedApp& app : before.allApps()) {
        const auto kept = std::ranges::find(apps, app.bundleID, &PinnedApp::bundleID);
        require(kept != apps.end() && *kept == app, "every app read is kept with its contents");
    }
    const std::vector<PinnedLocation> locations = locationsOf(after.items);
    for (const PinnedLocation& location : locationsOf(before.items)) {
        require(std::ranges::any_of(locations,
                                    [&location](const PinnedLocation& kept) {
                                        return kept.path == location.path && kept.name == location.name;
                                    }),
                "every location read is kept with its name");
    }
    for (const auto& member : storedBefore.items()) {
        if (member.value().is_null() || (member.key() == "pins" && !storedBefore.contains("items"))) continue;
        require(savedAfter.contains(member.key()), "every member of a dock is saved again");
    }
}

}  // namespace

void require(bool holds, std::string_view rule) {
    if (holds) return;
    std::fprintf(stderr, "broken rule: %.*s\n", static_cast<int>(rule.size()), rule.data());
    std::abort();
}

void silenceLog() {
    static NullSink sink;
    setLogSink(&sink);
}

std::string_view textOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

Bytes bytesOf(const std::uint8_t* data, std::size_t size) {
    return Bytes(data, data + size);
}

std::unique_ptr<PinnedStore> Machine::startDocks(Defaults& defaults) {
    return std::make_unique<PinnedStore>(pinnedPorts(defaults, icons));
}

bool hasCopy(const Defaults& defaults, std::string_view base, const Json& value) {
    const std::string prefix = std::string(base) + ".corrupt.";
    return std::ranges::any_of(defaults.keys(), [&](const std::string& key) {
        return key.starts_with(prefix) && defaults.value(key) == value;
    });
}

void checkDocksLoad(const std::optional<Json>& before, const Defaults& after, const PinnedStore& store) {
    const auto saved = after.dataValue("profiles.v1");
    require(saved.has_value(), "the docks are saved as data");
    const auto reread = StoredProfiles::decode(*saved);
    require(reread.ok() && reread.value().dropped == 0, "the saved docks read back whole");
    require(reread.value().profiles == store.profiles(), "the saved docks are the docks in use");
    require(!store.profiles().empty(), "there is a dock");
    if (!before) return;

    const auto data = Defaults::bytesFromJson(*before);
    const auto decoded = data ? StoredProfiles::decode(*data) : DecodingError();
    const bool copied = hasCopy(after, "profiles.v1", *before);
    if (!decoded || decoded.value().profiles.empty() || decoded.value().dropped > 0) {
        require(copied, "docks the load cannot read whole are kept byte for byte");
    }
    if (copied || !decoded || decoded.value().profiles.empty()) return;

    const std::vector<Profile>& read = decoded.value().profiles;
    const Json storedDocks = Json::parse(data->begin(), data->end());
    const Json savedDocks = Json::parse(saved->begin(), saved->end());
    const std::size_t kept = std::min(read.size(), kMaxProfiles);
    if (read.size() > kMaxProfiles) {
        require(std::ranges::any_of(after.keys(),
                                    [](const std::string& key) { return key.starts_with("profiles.v1.overflow."); }),
                "docks past the limit are kept");
    }
    require(store.profiles().size() == kept, "every dock up to the limit is kept");
    for (std::size_t i = 0; i < kept; ++i)
        checkDockKept(read[i], storedDocks[i], store.profiles()[i], savedDocks[i]);
}

}  // namespace quillbern::fuzz
