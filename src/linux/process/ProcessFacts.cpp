#include "linux/process/ProcessFacts.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <system_error>

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

// Empty where the file cannot be read. A process's files open and then fail to read (ESRCH)
// once it has ended, and a stream's buffer throws at such a failure.
std::string contents(const std::filesystem::path& file) {
    std::string all;
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return all;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0) {
            all.append(buffer, static_cast<std::size_t>(got));
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            all.clear();
            break;
        }
    }
    ::close(fd);
    return all;
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

// The parent in /proc/PID/stat: the fourth field, after the name in parentheses, which
// may itself hold spaces and parentheses.
std::optional<Pid> parentIn(std::string_view stat) {
    const auto nameEnd = stat.rfind(')');
    if (nameEnd == std::string_view::npos || nameEnd + 2 >= stat.size()) return std::nullopt;
    std::string_view rest = stat.substr(nameEnd + 2);
    const auto stateEnd = rest.find(' ');
    if (stateEnd == std::string_view::npos) return std::nullopt;
    rest.remove_prefix(stateEnd + 1);
    return number(rest.substr(0, rest.find(' ')));
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
    const std::string stat = contents(dir / "stat");
    if (stat.empty()) return std::nullopt;
    ProcessFacts facts;
    facts.pid = pid;
    facts.parent = parentIn(stat);
    facts.executable = linkTarget(dir / "exe");
    facts.origin = processOrigin(contents(dir / "environ"), contents(dir / "root" / ".flatpak-info"));
    return facts;
}

std::optional<std::string> executableOf(Pid pid) {
    return linkTarget(std::filesystem::path("/proc") / std::to_string(pid) / "exe");
}

}  // namespace quillbern
