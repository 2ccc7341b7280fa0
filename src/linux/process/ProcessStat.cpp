#include "linux/process/ProcessStat.h"

#include <time.h>
#include <unistd.h>

#include <array>
#include <charconv>
#include <string>

#include "core/foundation/RegularFile.h"

namespace quillbern {

namespace {

// A stat line is a few hundred bytes; a bound keeps any file put in its place from costing more.
constexpr std::uint64_t kStatBytes = 4096;
// Fields are numbered from 1 as proc(5) numbers them; the name is the second.
constexpr int kState = 3;
constexpr int kParent = 4;
constexpr int kStartTime = 22;

template <class Number>
std::optional<Number> numberIn(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<ProcessStat> processStatIn(std::string_view text) {
    const std::size_t nameEnd = text.rfind(')');
    if (nameEnd == std::string_view::npos) return std::nullopt;
    // The fields after the name, from the state on.
    std::array<std::string_view, kStartTime + 1> fields{};
    std::string_view rest = text.substr(nameEnd + 1);
    for (int field = kState; field <= kStartTime; ++field) {
        const std::size_t start = rest.find_first_not_of(' ');
        if (start == std::string_view::npos) break;
        rest.remove_prefix(start);
        const std::size_t end = std::min(rest.find_first_of(" \n"), rest.size());
        fields[std::size_t(field)] = rest.substr(0, end);
        rest.remove_prefix(end);
        if (!rest.empty() && rest.front() == '\n') break;
    }
    const std::string_view state = fields[kState];
    if (state.size() != 1) return std::nullopt;
    ProcessStat stat;
    stat.state = state.front();
    if (const auto parent = numberIn<Pid>(fields[kParent]); parent && *parent > 0) stat.parent = parent;
    stat.startTicks = numberIn<std::uint64_t>(fields[kStartTime]);
    return stat;
}

std::optional<ProcessStat> readProcessStat(const std::filesystem::path& file, int folder) {
    // A process's files open and then fail to read (ESRCH) once it has ended.
    const Result<std::string> text = readRegularFile(file, kStatBytes, folder);
    if (!text) return std::nullopt;
    return processStatIn(text.value());
}

std::optional<ProcessStat> readProcessStat(Pid pid) {
    return readProcessStat("/proc/" + std::to_string(pid) + "/stat");
}

std::uint64_t bootTicksNow() {
    timespec now{};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    static const std::uint64_t ticksPerSecond = std::uint64_t(::sysconf(_SC_CLK_TCK));
    // As the kernel turns a start's nanoseconds into ticks: whole ticks, rounded down.
    return std::uint64_t(now.tv_sec) * ticksPerSecond + std::uint64_t(now.tv_nsec) * ticksPerSecond / 1'000'000'000u;
}

}  // namespace quillbern
