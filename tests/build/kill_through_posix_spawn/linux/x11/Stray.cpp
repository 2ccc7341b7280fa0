// A process id read from a window, ended by a program of the system's.
#include <spawn.h>

#include <string>

extern char** environ;

int quitProcess(int pid) {
    std::string number = std::to_string(pid);
    char program[] = "/bin/kill";
    char* argv[] = {program, number.data(), nullptr};
    pid_t child = 0;
    return posix_spawn(&child, program, nullptr, nullptr, argv, environ);
}
