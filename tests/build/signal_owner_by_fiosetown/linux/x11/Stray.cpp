// A process id read from a window, named to receive the descriptor's signals.
#include <sys/ioctl.h>

int listen(int fd, int pid) {
    return ioctl(fd, FIOSETOWN, &pid);
}
