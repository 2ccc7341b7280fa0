#pragma once

#include <chrono>
#include <memory>
#include <optional>

#include "core/platform/Types.h"

namespace quillbern {

class LinuxLauncher;
class LinuxProcesses;

// A process this program started, held by a pidfd taken while it was a child of ours not yet
// reaped, so that its id could name no other process then, and the pidfd never names another
// later: a signal through it reaches that process or, once it has ended, nothing. The only
// place the program sends a signal (cmake/CheckLinks.cmake refuses one anywhere else), so
// nothing the X server, a window or /proc names is ever signalled.
class ChildProcess {
public:
    using Deadline = std::chrono::steady_clock::time_point;

    // What only the code that starts processes can make: so no other code holds, and signals,
    // a process by an id it was given.
    class StartedHere {
        friend class LinuxLauncher;
        friend class LinuxProcesses;
        StartedHere() = default;
    };

    // Holds `pid`, a child of ours not reaped yet, which the caller just started. When no
    // pidfd can be had it is reaped aside, whenever it ends, and none is returned.
    static std::unique_ptr<ChildProcess> hold(Pid pid, StartedHere);
    // One not reaped yet is reaped aside, on a thread of its own, whenever it ends, so it never
    // lingers as a zombie.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    Pid pid() const { return pid_; }
    // Readable once the process has ended, for a run loop to watch.
    int descriptor() const { return pidfd_; }
    // Whether the signal was sent: never once the process has ended.
    bool signal(int number) const;
    // Whether it has ended by `deadline`, waiting until then at most.
    bool endsBy(Deadline deadline) const;
    // Reaps it once it has ended, without waiting; whether it had. Its id is free from then on.
    bool reapIfEnded();
    // Waits for it to end and reaps it: its exit status, none when a signal ended it.
    std::optional<int> waitForExit();

private:
    ChildProcess(Pid pid, int pidfd) : pid_(pid), pidfd_(pidfd) {}

    Pid pid_;
    int pidfd_;
    bool reaped_ = false;
};

}  // namespace quillbern
