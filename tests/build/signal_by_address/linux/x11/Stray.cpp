#include <csignal>

// Called through a pointer, the name never stands before its parenthesis.
void quitProcess(int pid) {
    auto send = &::kill;
    send(pid, 15);
}
