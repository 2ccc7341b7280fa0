// A process id read from a window, named to receive the socket's signals.
#include <linux/sockios.h>
#include <sys/ioctl.h>

int listen(int socket, int pid) {
    return ioctl(socket, SIOCSPGRP, &pid);
}
