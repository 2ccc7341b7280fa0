#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "core/platform/Types.h"

namespace quillbern {

// What a process's /proc/PID/stat tells. The name in parentheses comes first and may itself
// hold spaces and parentheses, so the fields are counted from the last ')'.
struct ProcessStat {
    std::optional<Pid> parent;
};

std::optional<ProcessStat> processStatIn(std::string_view text);

// The stat file at `file`, read as a regular file within a small bound; none when it is gone,
// unreadable or not a stat file.
std::optional<ProcessStat> readProcessStat(const std::filesystem::path& file);

}  // namespace quillbern
