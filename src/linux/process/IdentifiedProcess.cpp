#include "linux/process/IdentifiedProcess.h"

#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <string>
#include <string_view>
#include <sys/syscall.h>

#include "core/foundation/ProcessId.h"
#include "core/foundation/RegularFile.h"
#include "linux/process/ProcessStat.h"

namespace quillbern {

namespace {

constexpr std::uint64_t kProcFileBytes = 64 * 1024;

// The process's folder in /proc. It stays that process's: once the process is gone it
// reads nothing, even when another takes the id. It serves as a pidfd too, so the signal
// goes to the very process its files showed.
class ProcFolder {
public:
    explicit ProcFolder(Pid pid)
        : fd_(::open(("/proc/" + std::to_string(pid)).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}
    ~ProcFolder() {
        if (fd_ >= 0) ::close(fd_);
    }
    ProcFolder(const ProcFolder&) = delete;
    ProcFolder& operator=(const ProcFolder&) = delete;

    int fd() const { return fd_; }

private:
    int fd_;
};

// The number at `index` after `key` on its line of /proc/PID/status.
std::optional<std::uint64_t> statusNumber(std::string_view status, std::string_view key, int index) {
    const std::size_t line = status.find("\n" + std::string(key));
    if (line == std::string_view::npos) return std::nullopt;
    std::string_view rest = status.substr(line + 1 + key.size());
    rest = rest.substr(0, rest.find('\n'));
    for (int i = 0;; ++i) {
        const std::size_t start = rest.find_first_not_of(" \t");
        if (start == std::string_view::npos) return std::nullopt;
        rest.remove_prefix(start);
        std::uint64_t value = 0;
        const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
        if (error != std::errc()) return std::nullopt;
        if (i == index) return value;
        rest.remove_prefix(std::size_t(end - rest.data()));
    }
}

// The start time of the process the folder shows, when we may signal it: a whole process, not
// one of its threads (whose signals reach the whole process), run by our user.
std::optional<std::uint64_t> signallableStart(const ProcFolder& folder, Pid pid) {
    if (folder.fd() < 0) return std::nullopt;
    const auto status = readRegularFile("status", kProcFileBytes, folder.fd());
    const auto stat = readProcessStat("stat", folder.fd());
    if (!status || !stat) return std::nullopt;
    const std::uint64_t user = ::getuid();
    if (statusNumber(status.value(), "Tgid:", 0) != std::uint64_t(pid) ||
        statusNumber(status.value(), "Uid:", 0) != user || statusNumber(status.value(), "Uid:", 1) != user) {
        return std::nullopt;
    }
    return stat->startTicks;
}

}  // namespace

std::optional<IdentifiedProcess> IdentifiedProcess::of(std::int64_t id) {
    if (!isProcessId(id) || id == ::getpid()) return std::nullopt;
    const Pid pid = static_cast<Pid>(id);
    const auto start = signallableStart(ProcFolder(pid), pid);
    if (!start) return std::nullopt;
    return IdentifiedProcess(pid, *start);
}

bool IdentifiedProcess::signal(int number) const {
    const ProcFolder folder(pid_);
    if (signallableStart(folder, pid_) != startTime_) return false;
    return ::syscall(SYS_pidfd_send_signal, folder.fd(), number, nullptr, 0) == 0;
}

}  // namespace quillbern
