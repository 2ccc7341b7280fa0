// clang-format off
#include <csignal>

void quitProcess(int pid) {
    ::kill
        (pid, 15);
}
