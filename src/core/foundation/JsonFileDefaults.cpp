#include "core/foundation/JsonFileDefaults.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

#include "core/foundation/AtomicFile.h"
#include "core/foundation/Log.h"

namespace quillbern {

namespace fs = std::filesystem;

namespace {

std::string utcStamp(WallTime when) {
    const auto seconds = static_cast<std::time_t>(when.sinceEpoch);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &parts);
    return text;
}

fs::path freeAsidePath(const fs::path& file, WallTime when) {
    const std::string base = file.string() + ".unreadable-" + utcStamp(when);
    std::string candidate = base;
    std::error_code error;
    for (int n = 2; fs::exists(candidate, error); ++n)
        candidate = base + '-' + std::to_string(n);
    return candidate;
}

std::optional<Json> readObject(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return std::nullopt;
    Json parsed = Json::parse(text.str(), nullptr, false);
    if (parsed.is_discarded() || !parsed.is_object()) return std::nullopt;
    return parsed;
}

}  // namespace

fs::path configHome() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/') return fs::path(xdg);
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : ".") / ".config";
}

fs::path configDirectory() {
    return configHome() / "quillbern";
}

namespace {

fs::path domainFile(std::string_view domain) {
    fs::path file = configDirectory() / std::string(domain);
    file += ".json";
    return file;
}

}  // namespace

std::unique_ptr<JsonFileDefaults> JsonFileDefaults::openDomain(std::string_view domain, const Clock& clock) {
    return std::make_unique<JsonFileDefaults>(domainFile(domain), clock);
}

std::optional<Json> JsonFileDefaults::readDomain(std::string_view domain) {
    return readObject(domainFile(domain));
}

JsonFileDefaults::JsonFileDefaults(fs::path file, const Clock& clock) : JsonFileDefaults(file, load(file, clock)) {}

JsonFileDefaults::JsonFileDefaults(fs::path file, Loaded loaded)
    : Defaults(std::move(loaded.values)),
      file_(std::move(file)),
      movedAside_(std::move(loaded.movedAside)),
      writable_(loaded.writable) {}

JsonFileDefaults::Loaded JsonFileDefaults::load(const fs::path& file, const Clock& clock) {
    std::error_code error;
    if (!fs::exists(file, error) && !error) return {Json::object(), std::nullopt, true};
    if (auto values = readObject(file)) return {std::move(*values), std::nullopt, true};

    const fs::path aside = freeAsidePath(file, clock.wallNow());
    fs::rename(file, aside, error);
    if (error) {
        log("settings file ", escapedForLog(file.string()), " cannot be read nor moved aside (", error.message(),
            "); starting with defaults and saving nothing until it is repaired or removed");
        return {Json::object(), std::nullopt, false};
    }
    log("settings file ", escapedForLog(file.string()), " cannot be read; kept it as ", escapedForLog(aside.string()),
        " and started with defaults");
    return {Json::object(), aside, true};
}

void JsonFileDefaults::persist(const Json& values, std::string_view changedKey) {
    if (!writable_) return;
    std::string text;
    try {
        text = values.dump(2) + "\n";
    } catch (const Json::exception& error) {
        // Invalid UTF-8 is refused where texts enter; should one slip through, keep the old file.
        log("settings not saved (key ", escapedForLog(changedKey), "): ", error.what());
        return;
    }
    const auto written = writeFileAtomically(file_, text);
    if (!written) log("settings not saved (key ", escapedForLog(changedKey), "): ", written.error().message);
}

}  // namespace quillbern
