// The settings file as found on disk, with the stores' start-up on top: an unreadable file
// is kept byte for byte, a readable one loses nothing, and what is saved reads back equal.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "FuzzSupport.h"
#include "core/foundation/JsonFileDefaults.h"
#include "core/foundation/JsonText.h"

using namespace quillbern;
using namespace quillbern::fuzz;
namespace fs = std::filesystem;

namespace {

// Keys the docks' start-up itself rewrites or consumes, by the rules of their load.
constexpr std::string_view kRewrittenAtLoad[] = {"profiles.v1", "pinnedApps", "activeProfileID",
                                                 "profilesRecoveredFromUnreadableData", "profiles.multidock.migrated"};

fs::path workDirectory() {
    const fs::path memory = "/dev/shm";
    std::error_code error;
    const fs::path base = fs::is_directory(memory, error) ? memory : fs::temp_directory_path();
    return base / ("quillbern-fuzz-settings-" + std::to_string(::getpid()));
}

std::string contentsOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

Json everyValue(const Defaults& defaults) {
    Json values = Json::object();
    for (const std::string& key : defaults.keys())
        values[key] = *defaults.value(key);
    return values;
}

bool rewrittenAtLoad(std::string_view key) {
    return std::ranges::find(kRewrittenAtLoad, key) != std::end(kRewrittenAtLoad);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceLog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fs::path directory = workDirectory();
    fs::remove_all(directory);
    fs::create_directories(directory);
    const fs::path file = directory / "defaults.json";
    const std::string_view input = textOf(data, size);
    {
        std::ofstream out(file, std::ios::binary);
        out.write(input.data(), static_cast<std::streamsize>(input.size()));
    }

    // Read here with the library alone, which has no depth bound of its own.
    const Json found = Json::parse(input, nullptr, false);
    const bool readable = found.is_object() && nestingDepth(found) <= kMaxJsonDepth;

    Machine machine;
    Json saved;
    {
        JsonFileDefaults defaults(file, machine.clock);
        if (!readable) {
            require(defaults.movedAside().has_value(), "an unreadable file is moved aside");
            require(contentsOf(*defaults.movedAside()) == input, "an unreadable file is kept byte for byte");
            require(defaults.keys().empty(), "an unreadable file starts the defaults empty");
        } else {
            require(!defaults.movedAside(), "a readable file stays");
            require(everyValue(defaults) == found, "a readable file is read whole");
        }

        const auto docks = machine.startDocks(defaults);
        const DockPreferences preferences(defaults, machine.clock, machine.mainLoop);
        const AppearanceStore appearance(defaults, machine.appearance, machine.mainLoop);
        const auto storedDocks =
            readable && found.contains("profiles.v1") ? std::optional<Json>(found["profiles.v1"]) : std::nullopt;
        checkDocksLoad(storedDocks, defaults, *docks);
        if (readable) {
            for (const auto& member : found.items()) {
                if (rewrittenAtLoad(member.key())) continue;
                require(defaults.value(member.key()) == member.value(), "the start-up keeps every other value");
            }
        }
        saved = everyValue(defaults);
    }

    JsonFileDefaults reopened(file, machine.clock);
    require(!reopened.movedAside(), "the saved file is readable");
    require(everyValue(reopened) == saved, "what is saved reads back equal");
    return 0;
}
