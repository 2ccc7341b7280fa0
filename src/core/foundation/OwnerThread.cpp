#include "core/foundation/OwnerThread.h"

#include <cstdio>
#include <cstdlib>

namespace quillbern {

#ifndef NDEBUG
namespace {

// An address no other living thread shares; cheaper to keep than a std::thread::id.
const void* currentThread() {
    static thread_local const char marker = 0;
    return &marker;
}

}  // namespace

OwnerThread::OwnerThread() : owner_(currentThread()) {}

void OwnerThread::expectCurrent(const char* function, const char* file, int line) const {
    if (currentThread() == owner_) return;
    std::fprintf(stderr, "Quillbern: %s (%s:%d) called off the thread that owns it\n", function, file, line);
    std::abort();
}
#endif

}  // namespace quillbern
