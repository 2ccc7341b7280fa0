#include "linux/process/ProcessFacts.h"

#include <charconv>
#include <system_error>

#include "core/foundation/RegularFile.h"
#include "linux/process/ProcessStat.h"

namespace quillbern {

namespace {

std::optional<std::string> nonEmpty(std::string_view text) {
    return text.empty() ? std::nullopt : std::optional<std::string>(text);
}

std::optional<Pid> number(std::string_view text) {
    Pid value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value <= 0) return std::nullopt;
    return value;
}

// Another process's files, each within a bound: its environment, and what its root folder,
// which it may control, holds in place of a sandbox's description. Empty where the file is
// no regular file of at most that size, or cannot be read (a process's files open and then
// fail to read once it has ended).
constexpr std::uint64_t kEnvironmentBytes = 1 << 20;
constexpr std::uint64_t kSandboxInfoBytes = 64 * 1024;

std::string contents(const std::filesystem::path& file, std::uint64_t maxBytes) {
    Result<std::string> text = readRegularFile(file, maxBytes);
    return text ? std::move(text).value() : std::string();
}

// The name in the [Application] group of a key file.
std::optional<std::string> applicationName(std::string_view keyFile) {
    bool inApplication = false;
    while (!keyFile.empty()) {
        const auto end = keyFile.find('\n');
        std::string_view line = keyFile.substr(0, end);
        keyFile.remove_prefix(end == std::string_view::npos ? keyFile.size() : end + 1);
        if (line.starts_with('[')) {
            inApplication = line == "[Application]";
        } else if (inApplication && line.starts_with("name=")) {
            return nonEmpty(line.substr(5));
        }
    }
    return std::nullopt;
}

std::optional<std::string> linkTarget(const std::filesystem::path& link) {
    std::error_code error;
    const auto target = std::filesystem::read_symlink(link, error);
    if (error) return std::nullopt;
    return nonEmpty(target.string());
}

}  // namespace

ProcessOrigin processOrigin(std::string_view environment, std::string_view flatpakInfo) {
    ProcessOrigin origin;
    while (!environment.empty()) {
        const auto end = environment.find('\0');
        const std::string_view entry = environment.substr(0, end);
        environment.remove_prefix(end == std::string_view::npos ? environment.size() : end + 1);
        const auto equals = entry.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view name = entry.substr(0, equals);
        const std::string_view value = entry.substr(equals + 1);
        if (name == "GIO_LAUNCHED_DESKTOP_FILE") {
            origin.launchedDesktopFile = nonEmpty(value);
        } else if (name == "GIO_LAUNCHED_DESKTOP_FILE_PID") {
            origin.launchedPid = number(value);
        } else if (name == "FLATPAK_ID") {
            origin.flatpakId = nonEmpty(value);
        } else if (name == "SNAP_NAME") {
            origin.snapName = nonEmpty(value);
        }
    }
    if (auto sandboxed = applicationName(flatpakInfo)) origin.flatpakId = std::move(sandboxed);
    return origin;
}

std::optional<ProcessFacts> readProcessFacts(Pid pid, const std::filesystem::path& proc) {
    const std::filesystem::path dir = proc / std::to_string(pid);
    const std::optional<ProcessStat> stat = readProcessStat(dir / "stat");
    if (!stat) return std::nullopt;
    ProcessFacts facts;
    facts.pid = pid;
    facts.parent = stat->parent;
    facts.executable = linkTarget(dir / "exe");
    facts.origin = processOrigin(contents(dir / "environ", kEnvironmentBytes),
                                 contents(dir / "root" / ".flatpak-info", kSandboxInfoBytes));
    return facts;
}

std::optional<std::string> executableOf(Pid pid) {
    return linkTarget(std::filesystem::path("/proc") / std::to_string(pid) / "exe");
}

}  // namespace quillbern
