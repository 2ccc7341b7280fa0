// A process id read from a window, named to receive the descriptor's signals.
#include <fcntl.h>

int listen(int fd, int pid) {
    return fcntl(fd, F_SETOWN, pid);
}
