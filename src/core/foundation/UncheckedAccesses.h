#pragma once

#if defined(__SANITIZE_THREAD__)
#define QUILLBERN_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define QUILLBERN_THREAD_SANITIZER 1
#endif
#endif

#ifdef QUILLBERN_THREAD_SANITIZER
extern "C" {
void __tsan_ignore_thread_begin();
void __tsan_ignore_thread_end();
}
#endif

namespace quillbern {

// While one lives, ThreadSanitizer records none of this thread's reads and writes (its locks
// still count); in any other build it is nothing. For a call into Qt that makes an event for
// another thread and hands it over under Qt's own locks, which ThreadSanitizer cannot see:
// the receiving thread's event filters read the event before any code of ours could mark
// the hand-off, and the event is Qt's, not ours to check.
class UncheckedAccesses {
public:
#ifdef QUILLBERN_THREAD_SANITIZER
    UncheckedAccesses() {
        __tsan_ignore_thread_begin();
    }
    ~UncheckedAccesses() {
        __tsan_ignore_thread_end();
    }
#else
    UncheckedAccesses() {}
    ~UncheckedAccesses() {}
#endif
    UncheckedAccesses(const UncheckedAccesses&) = delete;
    UncheckedAccesses& operator=(const UncheckedAccesses&) = delete;
};

}  // namespace quillbern
