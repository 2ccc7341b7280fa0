// clang-format off
// Words near fcntl(fd, F_SETOWN, pid) that name no process: this comment, /* F_SETOWN */ too.
#include <fcntl.h>
#include <linux/sockios.h>
#include <sys/ioctl.h>

#include <string>

/* A block comment: fcntl(fd, F_SETOWN, pid); ioctl(fd, FIOSETOWN, &pid);
   F_SETOWN_EX SIOCSPGRP */
int owner(int fd) {
    const std::string script = "fcntl(fd, F_SETOWN, pid)";  // a string's words, and FIOSETOWN
    const char quote = '\"';
    const long limit = 1'000'000;
    const int F_SETOWNER = F_GETOWN;
    int reader = 0;
    return fcntl(fd, F_SETOWNER) + ioctl(fd, FIOGETOWN, &reader) + ioctl(fd, SIOCGPGRP, &reader) + quote +
           int(script.size() + limit);
}
