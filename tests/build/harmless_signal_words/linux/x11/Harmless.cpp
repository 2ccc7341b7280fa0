// clang-format off
// Words near kill(pid, 15) that send nothing: this comment, /* kill(pid, 15) */ and skill(.
#include <sys/syscall.h>
#include <unistd.h>

#include <string>

/* A block comment: kill(pid, 15);
   syscall(62, pid, 15); */
long open(int pid) {
    const std::string script = "kill -0 \"$pid\" || kill(pid, 15)";  // a shell's words
    const char quote = '\"';
    const long limit = 1'000'000;
    skill(pid);
    timers.killTimer(pid);
    const int signal = SIGKILL + quote + script.size();
    return syscall(SYS_pidfd_open, pid, 0) + syscall(
        __NR_pidfd_open, pid, signal) + limit;
}
