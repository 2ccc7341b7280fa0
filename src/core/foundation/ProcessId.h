#pragma once

#include <cstdint>

namespace quillbern {

// Whether `value` can name one process: 2 up to the system's pid_max. kill() takes 0 and the
// negative values (4294967295 read as a signed 32-bit value is -1) for a process group or
// every process, and 1 is init.
bool isProcessId(std::int64_t value);

// Whether a process runs under `id`, another user's or a zombie too, or a thread of one; what
// is no process id names none.
bool processExists(std::int64_t id);

}  // namespace quillbern
