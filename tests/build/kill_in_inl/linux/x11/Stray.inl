#include <csignal>

inline void quitProcess(int pid) {
    ::kill(pid, 15);
}
