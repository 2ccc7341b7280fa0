#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/platform/Types.h"

namespace quillbern {

// What a process's environment and sandbox say it was started as.
struct ProcessOrigin {
    // GIO_LAUNCHED_DESKTOP_FILE: the entry the desktop (or we) launched, through GIO.
    std::optional<std::string> launchedDesktopFile;
    // GIO_LAUNCHED_DESKTOP_FILE_PID: the process that launch started; any other process
    // carrying the entry inherited it.
    std::optional<Pid> launchedPid;
    // The Flatpak application whose sandbox the process runs in.
    std::optional<std::string> flatpakId;
    // SNAP_NAME: the Snap the process belongs to.
    std::optional<std::string> snapName;
    bool operator==(const ProcessOrigin&) const = default;
};

// What /proc tells of one process.
struct ProcessFacts {
    Pid pid = 0;
    std::optional<Pid> parent;
    std::optional<std::string> executable;
    ProcessOrigin origin;
    bool operator==(const ProcessFacts&) const = default;
};

// The origin in an environment block (NUL-separated NAME=value entries) and, when the
// process runs in a Flatpak sandbox, its .flatpak-info, which names the application even
// where the environment does not.
ProcessOrigin processOrigin(std::string_view environment, std::string_view flatpakInfo = {});

// The process's facts as `proc` (the proc file system) shows them; none when the process
// is gone. What another user's process keeps to itself stays empty.
std::optional<ProcessFacts> readProcessFacts(Pid pid, const std::filesystem::path& proc = "/proc");

// The program a process runs (/proc/PID/exe); none when it is gone or not ours to see.
std::optional<std::string> executableOf(Pid pid);

}  // namespace quillbern
