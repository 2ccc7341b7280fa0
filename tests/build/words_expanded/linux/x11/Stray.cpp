// A path expanded as the shell would, by the shell.
#include <wordexp.h>

bool expand(const char* path, wordexp_t* words) {
    return wordexp(path, words, 0) == 0;
}
