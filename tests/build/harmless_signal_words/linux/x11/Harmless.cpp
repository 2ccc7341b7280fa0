// clang-format off
// Words near fcntl(fd, F_SETOWN, pid) that name no process: this comment, /* F_SETOWN */ too.
#include <fcntl.h>

#include <string>

/* A block comment: fcntl(fd, F_SETOWN, pid);
   F_SETOWN_EX */
int owner(int fd) {
    const std::string script = "fcntl(fd, F_SETOWN, pid)";  // a string's words
    const char quote = '\"';
    const long limit = 1'000'000;
    const int F_SETOWNER = F_GETOWN;
    return fcntl(fd, F_SETOWNER) + quote + int(script.size() + limit);
}
