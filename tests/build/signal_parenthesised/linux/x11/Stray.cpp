// Parentheses keep a function-like macro of the name from expanding; the call is the same.
#include <csignal>

void quitProcess(int pid) {
    (kill)(pid, 15);
}
