#include "linux/process/ChildProcess.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <sys/wait.h>
#include <thread>

#include "core/foundation/Log.h"

// glibc 2.36 declares these without C linkage for C++.
extern "C" {
#include <sys/pidfd.h>
}

namespace quillbern {

namespace {

// Reaps the child behind `pidfd`, waiting for it to end when asked; whether it was reaped.
bool reap(int pidfd, bool wait, siginfo_t& info) {
    info = {};
    const int options = WEXITED | (wait ? 0 : WNOHANG);
    while (::waitid(P_PIDFD, id_t(pidfd), &info, options) != 0) {
        if (errno != EINTR) return false;
    }
    // Without waiting, a child that still runs leaves the answer empty.
    return info.si_pid != 0;
}

}  // namespace

std::unique_ptr<ChildProcess> ChildProcess::hold(Pid pid, StartedHere) {
    const int pidfd = ::pidfd_open(pid, 0);
    if (pidfd >= 0) return std::unique_ptr<ChildProcess>(new ChildProcess(pid, pidfd));
    log("a child process could not be held (", pid, "): it is only reaped when it ends");
    std::thread([pid] {
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return nullptr;
}

ChildProcess::~ChildProcess() {
    if (reaped_) {
        ::close(pidfd_);
        return;
    }
    std::thread([pidfd = pidfd_] {
        siginfo_t info;
        reap(pidfd, true, info);
        ::close(pidfd);
    }).detach();
}

bool ChildProcess::signal(int number) const {
    return !reaped_ && ::pidfd_send_signal(pidfd_, number, nullptr, 0) == 0;
}

bool ChildProcess::endsBy(Deadline deadline) const {
    pollfd watched{pidfd_, POLLIN, 0};
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        const int ready = ::poll(&watched, 1, static_cast<int>(std::max<long long>(left.count(), 0)));
        if (ready >= 0) return ready > 0;
        if (errno != EINTR) return false;
    }
}

bool ChildProcess::reapIfEnded() {
    siginfo_t info;
    if (!reaped_) reaped_ = reap(pidfd_, false, info);
    return reaped_;
}

std::optional<int> ChildProcess::waitForExit() {
    if (reaped_) return std::nullopt;
    siginfo_t info;
    reaped_ = reap(pidfd_, true, info);
    if (!reaped_ || info.si_code != CLD_EXITED) return std::nullopt;
    return info.si_status;
}

}  // namespace quillbern
