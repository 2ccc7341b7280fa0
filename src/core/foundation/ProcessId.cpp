#include "core/foundation/ProcessId.h"

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <string>

#include "core/foundation/RegularFile.h"

// glibc 2.36 declares these without C linkage for C++.
extern "C" {
#include <sys/pidfd.h>
}

namespace quillbern {

namespace {

// The kernel's ceiling, where the system does not say its own.
constexpr std::int64_t kPidMaxLimit = 4194304;

std::int64_t readPidMax() {
    const auto text = readRegularFile("/proc/sys/kernel/pid_max", 64);
    if (!text) return kPidMaxLimit;
    const std::string& digits = text.value();
    std::int64_t value = 0;
    const bool read = std::from_chars(digits.data(), digits.data() + digits.size(), value).ec == std::errc();
    return read && value > 2 && value <= kPidMaxLimit ? value : kPidMaxLimit;
}

}  // namespace

bool isProcessId(std::int64_t value) {
    // pid_max is the highest id plus one.
    static const std::int64_t pidMax = readPidMax();
    return value >= 2 && value < pidMax;
}

bool processExists(std::int64_t id) {
    if (!isProcessId(id)) return false;
    // Nothing is signalled to ask. A thread that leads no process answers EINVAL.
    const int pidfd = ::pidfd_open(static_cast<pid_t>(id), 0);
    if (pidfd < 0) return errno != ESRCH;
    ::close(pidfd);
    return true;
}

}  // namespace quillbern
