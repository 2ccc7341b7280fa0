#include "core/foundation/ProcessId.h"

#include <signal.h>

#include <cerrno>
#include <charconv>
#include <string>

#include "core/foundation/RegularFile.h"

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
    // Signal 0 only asks; another user's process answers EPERM.
    return isProcessId(id) && (::kill(static_cast<pid_t>(id), 0) == 0 || errno != ESRCH);
}

}  // namespace quillbern
