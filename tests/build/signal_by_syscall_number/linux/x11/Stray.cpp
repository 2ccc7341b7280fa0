// A process id read from a window, signalled through the bare number of kill on x86-64.
#include <unistd.h>

void quitProcess(int pid) {
    syscall(62, pid, 15);
}
