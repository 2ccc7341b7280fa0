// A name no text search finds: the preprocessor pastes it together.
#include <signal.h>

#define PASTED(first, second) first##second

int quitProcess(int pid) {
    return PASTED(ki, ll)(pid, SIGTERM);
}
