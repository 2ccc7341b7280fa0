// A process id read from a window, ended by the shell.
#include <cstdlib>
#include <string>

int quitProcess(int pid) {
    return std::system(("kill " + std::to_string(pid)).c_str());
}
