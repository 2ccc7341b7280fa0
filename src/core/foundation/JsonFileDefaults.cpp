#include "core/foundation/JsonFileDefaults.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <sys/stat.h>
#include <utility>

#include "core/foundation/AtomicFile.h"
#include "core/foundation/JsonText.h"
#include "core/foundation/Log.h"
#include "core/foundation/RegularFile.h"

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
    for (int n = 2; fs::exists(fs::symlink_status(candidate, error)); ++n)
        candidate = base + '-' + std::to_string(n);
    return candidate;
}

// Anything larger is not a settings file, and reading it would only take memory.
constexpr std::uint64_t kMaxFileSize = 64 << 20;

Error unreadable(std::string reason) {
    return Error{std::move(reason), "settings"};
}

Result<Json> readObject(const fs::path& file) {
    const auto text = readRegularFile(file, kMaxFileSize);
    if (!text) return unreadable(text.error().message);
    if (text.value().empty()) return unreadable("empty");
    auto parsed = parseJson(text.value());
    if (!parsed) return parsed.error();
    if (!parsed.value().is_object()) return unreadable("not a JSON object");
    return std::move(parsed).value();
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

std::unique_ptr<JsonFileDefaults> JsonFileDefaults::openDomain(std::string_view domain, const Clock& clock,
                                                               std::optional<Saving> saving) {
    return std::make_unique<JsonFileDefaults>(domainFile(domain), clock, std::move(saving));
}

std::optional<Json> JsonFileDefaults::readDomain(std::string_view domain) {
    auto values = readObject(domainFile(domain));
    if (!values) return std::nullopt;
    return std::move(values).value();
}

struct JsonFileDefaults::Writer {
    explicit Writer(fs::path target) : file(std::move(target)) {}

    const fs::path file;
    std::mutex mutex;
    std::condition_variable written;
    // Handed over and not yet taken by the queue, with the key of its latest change.
    std::optional<std::pair<Json, std::string>> waiting;
    // Whether the queue holds an item that will take `waiting`.
    bool queued = false;
    std::uint64_t handedOver = 0;
    std::uint64_t done = 0;

    // Any thread: the file as `values` say, or the reason in the log.
    void write(const Json& values, std::string_view changedKey) const;
    // On the queue: writes what waits, if anything does.
    void writeWaiting();
};

void JsonFileDefaults::Writer::write(const Json& values, std::string_view changedKey) const {
    // A file the reader refuses would be moved aside at the next start: keep the old one.
    if (nestingDepth(values) > kMaxJsonDepth) {
        log("settings not saved (key ", escapedForLog(changedKey), "): values nested deeper than ", kMaxJsonDepth,
            " levels could not be read back");
        return;
    }
    std::string text;
    try {
        text = values.dump(2) + "\n";
    } catch (const Json::exception& error) {
        // Invalid UTF-8 is refused where texts enter; should one slip through, keep the old file.
        log("settings not saved (key ", escapedForLog(changedKey), "): ", escapedForLog(error.what()));
        return;
    }
    const auto saved = writeFileAtomically(file, text, LinkAtName::followedToRegularFile);
    if (!saved) log("settings not saved (key ", escapedForLog(changedKey), "): ", escapedForLog(saved.error().message));
}

void JsonFileDefaults::Writer::writeWaiting() {
    std::optional<std::pair<Json, std::string>> taken;
    std::uint64_t generation = 0;
    {
        std::lock_guard lock(mutex);
        taken = std::exchange(waiting, std::nullopt);
        queued = false;
        generation = handedOver;
    }
    if (taken) write(taken->first, taken->second);
    {
        std::lock_guard lock(mutex);
        done = std::max(done, generation);
    }
    written.notify_all();
}

JsonFileDefaults::JsonFileDefaults(fs::path file, const Clock& clock, std::optional<Saving> saving)
    : JsonFileDefaults(file, load(file, clock), std::move(saving)) {}

JsonFileDefaults::JsonFileDefaults(fs::path file, Loaded loaded, std::optional<Saving> saving)
    : Defaults(std::move(loaded.values)),
      file_(std::move(file)),
      movedAside_(std::move(loaded.movedAside)),
      writable_(loaded.writable),
      writer_(std::make_shared<Writer>(file_)) {
    if (saving && saving->queue) {
        mainLoop_ = &saving->mainLoop;
        queue_ = std::move(saving->queue);
    } else if (saving) {
        log("the settings' own thread did not start; settings are written on the main thread");
    }
}

JsonFileDefaults::~JsonFileDefaults() {
    flush();
}

void JsonFileDefaults::persist(const Json& values, std::string_view changedKey) {
    if (!writable_) return;
    if (!queue_) {
        writer_->write(values, changedKey);
        return;
    }
    // One copy of the domain for all the assignments of this turn of the loop.
    const bool posted = unsaved_.has_value();
    unsaved_ = std::string(changedKey);
    if (!posted) mainLoop_->post(lifetime_.guard([this] { handOver(); }));
}

void JsonFileDefaults::handOver() {
    if (!unsaved_) return;
    std::pair<Json, std::string> state{values(), std::move(*unsaved_)};
    unsaved_.reset();
    bool startItem = false;
    {
        std::lock_guard lock(writer_->mutex);
        writer_->waiting = std::move(state);
        ++writer_->handedOver;
        startItem = !std::exchange(writer_->queued, true);
    }
    if (startItem) queue_->async({}, [writer = writer_](const CancelToken&) { writer->writeWaiting(); });
}

void JsonFileDefaults::flush() {
    if (!queue_) return;
    handOver();
    std::unique_lock lock(writer_->mutex);
    const std::uint64_t wanted = writer_->handedOver;
    if (!writer_->written.wait_for(lock, std::chrono::duration<double>(kFlushLimit),
                                   [&] { return writer_->done >= wanted; })) {
        log("settings not yet written to ", escapedForLog(file_.string()), " after ", kFlushLimit,
            " s; the disk may be stalled, the last change may be lost");
    }
}

JsonFileDefaults::Loaded JsonFileDefaults::load(const fs::path& file, const Clock& clock) {
    if (const int removed = removeAbandonedTemporaryFiles(file, LinkAtName::followedToRegularFile); removed > 0)
        log("temporary files that interrupted saves left beside ", escapedForLog(file.string()), " removed: ", removed);
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0 && errno == ENOENT) return {Json::object(), std::nullopt, true};
    auto values = readObject(file);
    if (values) return {std::move(values).value(), std::nullopt, true};

    const std::string& why = values.error().message;
    const fs::path aside = freeAsidePath(file, clock.wallNow());
    std::error_code error;
    fs::rename(file, aside, error);
    if (error) {
        log("settings file ", escapedForLog(file.string()), " cannot be read (", escapedForLog(why),
            ") nor moved aside (", error.message(),
            "); starting with defaults and saving nothing until it is repaired or removed");
        return {Json::object(), std::nullopt, false};
    }
    log("settings file ", escapedForLog(file.string()), " cannot be read (", escapedForLog(why), "); kept it as ",
        escapedForLog(aside.string()), " and started with defaults");
    return {Json::object(), aside, true};
}

}  // namespace quillbern
