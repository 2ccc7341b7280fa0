#pragma once

#include <fcntl.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "core/platform/Types.h"

namespace quillbern {

// What a process's /proc/PID/stat tells. The name in parentheses comes first and may itself
// hold spaces and parentheses, so the fields are counted from the last ')'.
struct ProcessStat {
    // R running, S sleeping, Z a zombie, X dead, ...
    char state = '?';
    std::optional<Pid> parent;
    // In clock ticks after boot (sysconf(_SC_CLK_TCK) a second): no two processes of one id share it.
    std::optional<std::uint64_t> startTicks;

    // A zombie has ended too: nobody may reap it where init does not.
    bool hasEnded() const { return state == 'Z' || state == 'X'; }
};

std::optional<ProcessStat> processStatIn(std::string_view text);

// The stat file at `file` (relative ones from the folder `folder` is open on, such as a
// process's /proc folder), read as a regular file within a small bound; none when it is
// gone, unreadable or not a stat file.
std::optional<ProcessStat> readProcessStat(const std::filesystem::path& file, int folder = AT_FDCWD);
// The process's as /proc shows it now.
std::optional<ProcessStat> readProcessStat(Pid pid);

// The moment now in the clock of start times: clock ticks after boot, counted as the
// kernel counts a start, so a process started before this moment reads no more than it.
std::uint64_t bootTicksNow();

}  // namespace quillbern
