#include "reader/Confinement.h"

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <vector>

#include "picture/PictureWire.h"

namespace quillbern {

namespace {

// Beyond what Qt and its libraries took at the start: a picture's file and its decoding,
// each within 64 MB, and their copies, many times over.
constexpr rlim_t kAddressSpaceForPictures = rlim_t(1) << 30;
// Far beyond what the program waits for a picture: the kernel's end for a reader whose
// program no longer watches it.
constexpr rlim_t kSecondsOfPicture = 10;

#if defined(__x86_64__)
constexpr std::uint32_t kArchitecture = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
constexpr std::uint32_t kArchitecture = AUDIT_ARCH_AARCH64;
#endif

// The numbers of the refused calls this processor has.
const std::vector<long>& refusedCalls() {
    static const std::vector<long> calls {
        SYS_socket, SYS_socketpair, SYS_connect, SYS_bind, SYS_listen, SYS_accept4, SYS_execve, SYS_execveat,
            SYS_ptrace, SYS_process_vm_readv, SYS_process_vm_writev, SYS_pidfd_open, SYS_pidfd_getfd,
            SYS_pidfd_send_signal, SYS_kill, SYS_tkill, SYS_unlinkat, SYS_renameat, SYS_renameat2, SYS_mkdirat,
            SYS_linkat, SYS_symlinkat, SYS_fchmod, SYS_fchmodat, SYS_fchown, SYS_fchownat, SYS_truncate, SYS_ftruncate,
            SYS_mknodat, SYS_setxattr, SYS_lsetxattr, SYS_fsetxattr, SYS_removexattr, SYS_lremovexattr,
            SYS_fremovexattr, SYS_mount, SYS_umount2, SYS_unshare, SYS_setns, SYS_bpf, SYS_perf_event_open,
            SYS_userfaultfd, SYS_keyctl, SYS_add_key, SYS_request_key, SYS_io_uring_setup, SYS_open_by_handle_at,
            SYS_name_to_handle_at,
#if defined(__x86_64__)
            SYS_accept, SYS_fork, SYS_vfork, SYS_creat, SYS_unlink, SYS_rename, SYS_mkdir, SYS_rmdir, SYS_link,
            SYS_symlink, SYS_chmod, SYS_chown, SYS_lchown, SYS_mknod,
#endif
    };
    return calls;
}

sock_filter statement(std::uint16_t code, std::uint32_t value) {
    return BPF_STMT(code, value);
}

sock_filter jumpIfEqual(std::uint32_t value, std::uint8_t ifEqual, std::uint8_t ifNot) {
    return BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, value, ifEqual, ifNot);
}

constexpr std::uint32_t kAllow = SECCOMP_RET_ALLOW;
constexpr std::uint32_t refuse(int error) {
    return SECCOMP_RET_ERRNO | (std::uint32_t(error) & SECCOMP_RET_DATA);
}

// The low half of an argument, which holds every flag looked at here.
constexpr std::uint32_t argument(int n) {
    return offsetof(seccomp_data, args) + std::uint32_t(n) * sizeof(std::uint64_t);
}

// For the call `number`: allowed when its argument `n`, masked, equals `wanted`; refused with
// `error` otherwise. Leaves the call's number in place for the checks after it.
void allowWhen(std::vector<sock_filter>& filter, long number, int n, std::uint32_t mask, std::uint32_t wanted,
               int error) {
    filter.push_back(jumpIfEqual(std::uint32_t(number), 0, 5));
    filter.push_back(statement(BPF_LD | BPF_W | BPF_ABS, argument(n)));
    filter.push_back(statement(BPF_ALU | BPF_AND | BPF_K, mask));
    filter.push_back(jumpIfEqual(wanted, 0, 1));
    filter.push_back(statement(BPF_RET | BPF_K, kAllow));
    filter.push_back(statement(BPF_RET | BPF_K, refuse(error)));
}

}  // namespace

bool followParent(pid_t parent) {
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0) return false;
    // The program may have ended before the line above.
    if (::getppid() != parent) return false;
    ::prctl(PR_SET_NAME, "quillbern-pics");
    return ::close_range(kReaderSocket + 1, ~0U, 0) == 0;
}

bool limitResources() {
    const rlimit none{0, 0};
    if (::setrlimit(RLIMIT_CORE, &none) != 0 || ::setrlimit(RLIMIT_FSIZE, &none) != 0) return false;
    unsigned long pages = 0;
    FILE* statm = std::fopen("/proc/self/statm", "re");
    if (!statm) return false;
    const bool read = std::fscanf(statm, "%lu", &pages) == 1;
    std::fclose(statm);
    if (!read) return false;
    const rlim_t space = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + kAddressSpaceForPictures;
    const rlimit addressSpace{space, space};
    return ::setrlimit(RLIMIT_AS, &addressSpace) == 0;
}

bool refuseFurtherReach() {
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) return false;
#if defined(__x86_64__) || defined(__aarch64__)
    std::vector<sock_filter> filter{
        statement(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        jumpIfEqual(kArchitecture, 1, 0),
        statement(BPF_RET | BPF_K, SECCOMP_RET_KILL_PROCESS),
        statement(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
    };
#if defined(__x86_64__)
    // The x32 calls, which name the same calls by other numbers.
    filter.push_back(BPF_JUMP(BPF_JMP | BPF_JGE | BPF_K, 0x40000000, 0, 1));
    filter.push_back(statement(BPF_RET | BPF_K, refuse(EPERM)));
#endif
    for (const long call : refusedCalls()) {
        filter.push_back(jumpIfEqual(std::uint32_t(call), 0, 1));
        filter.push_back(statement(BPF_RET | BPF_K, refuse(EPERM)));
    }
    // glibc starts threads through clone3 where it can, through clone where told it cannot.
    filter.push_back(jumpIfEqual(SYS_clone3, 0, 1));
    filter.push_back(statement(BPF_RET | BPF_K, refuse(ENOSYS)));
    filter.push_back(jumpIfEqual(SYS_openat2, 0, 1));
    filter.push_back(statement(BPF_RET | BPF_K, refuse(ENOSYS)));
    allowWhen(filter, SYS_clone, 0, CLONE_THREAD, CLONE_THREAD, EPERM);
    // A signal only to itself: abort and raise send theirs so.
    allowWhen(filter, SYS_tgkill, 0, ~0U, std::uint32_t(::getpid()), EPERM);
    constexpr std::uint32_t kWriting = O_WRONLY | O_RDWR | O_CREAT | O_TRUNC | O_APPEND;
    allowWhen(filter, SYS_openat, 2, kWriting, 0, EACCES);
#if defined(__x86_64__)
    allowWhen(filter, SYS_open, 1, kWriting, 0, EACCES);
#endif
    filter.push_back(statement(BPF_RET | BPF_K, kAllow));
    const sock_fprog program{static_cast<unsigned short>(filter.size()), filter.data()};
    return ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program, 0, 0) == 0;
#else
    return true;
#endif
}

void limitTimeOfNextPicture() {
    rusage used{};
    if (::getrusage(RUSAGE_SELF, &used) != 0) return;
    const rlim_t seconds = rlim_t(used.ru_utime.tv_sec + used.ru_stime.tv_sec) + 1;
    const rlimit time{seconds + kSecondsOfPicture, RLIM_INFINITY};
    ::setrlimit(RLIMIT_CPU, &time);
}

}  // namespace quillbern
