#pragma once

#include <cstdint>
#include <optional>

#include "core/platform/Types.h"

namespace quillbern {

// A process of our own user, other than ours, known by its id and the moment it started, so
// that a signal reaches it alone: never a process group or every process, never a process of
// another user, never one that took its id after it ended. Every signal the program sends
// goes through one (cmake/CheckSignals.cmake fails the build otherwise).
class IdentifiedProcess {
public:
    // The process under `id` now, when it may be signalled: `id` is a process id (isProcessId),
    // not a thread's, and the process's real and effective user are ours.
    static std::optional<IdentifiedProcess> of(std::int64_t id);

    Pid pid() const { return pid_; }
    // When it started, in clock ticks after boot (ProcessStat).
    std::uint64_t startTicks() const { return startTime_; }
    // Sends the signal while the process still runs as identified (a zombie still does);
    // whether it was sent.
    bool signal(int number) const;

private:
    IdentifiedProcess(Pid pid, std::uint64_t startTime) : pid_(pid), startTime_(startTime) {}

    Pid pid_;
    // In clock ticks after boot: no two processes of one id share it.
    std::uint64_t startTime_;
};

}  // namespace quillbern
