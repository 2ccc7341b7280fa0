// Linked into the ThreadSanitizer build of the threaded tests. GLib and Qt are not built
// with ThreadSanitizer, so it sees neither their locks nor the threads they start for
// themselves:
// - GLib's locks, as GIO and GObject take them from GLib, become what ThreadSanitizer
//   knows as a lock: taking one acquires its address, letting go releases it;
// - the threads GLib and Qt start (GLib's worker, Qt's X event reader, D-Bus connection
//   and thread pool) run nothing of ours and hand what they touch to the threads that
//   call them under futexes and atomics of their own: their memory accesses are not
//   checked, their synchronisation still is.
// Every thread of ours, and every call of ours that the libraries make on it, is checked.
#include <dlfcn.h>
#include <pthread.h>

#include <cstdint>
#include <string_view>

extern "C" {
void __tsan_ignore_thread_begin();
void __tsan_ignore_thread_end();
void __tsan_acquire(void* address);
void __tsan_release(void* address);
}

namespace {

template <class Function>
Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

bool isLibraryCode(const void* address) {
    Dl_info info{};
    if (!dladdr(address, &info) || !info.dli_fname) return false;
    const std::string_view module = info.dli_fname;
    for (const std::string_view library : {"/libglib-2.0.so", "/libgio-2.0.so", "/libQt6"}) {
        if (module.find(library) != std::string_view::npos) return true;
    }
    return false;
}

struct LibraryThread {
    void* (*routine)(void*);
    void* argument;
};

void* runUnchecked(void* started) {
    const LibraryThread thread = *static_cast<LibraryThread*>(started);
    delete static_cast<LibraryThread*>(started);
    __tsan_ignore_thread_begin();
    void* result = thread.routine(thread.argument);
    __tsan_ignore_thread_end();
    return result;
}

}  // namespace

extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes, void* (*routine)(void*),
                              void* argument) {
    static const auto create =
        next<int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*)>("pthread_create");
    if (!isLibraryCode(__builtin_return_address(0))) return create(thread, attributes, routine, argument);
    auto* started = new LibraryThread{routine, argument};
    const int failed = create(thread, attributes, runUnchecked, started);
    if (failed) delete started;
    return failed;
}

// GLib's lock types, by address only.
struct GMutex;
struct GRecMutex;
struct GRWLock;
struct GCond;

#define QUILLBERN_SEEN_LOCK(Type, lock, unlock, trylock)              \
    extern "C" void lock(Type* held) {                                \
        static const auto take = next<void (*)(Type*)>(#lock);        \
        take(held);                                                   \
        __tsan_acquire(held);                                         \
    }                                                                 \
    extern "C" void unlock(Type* held) {                              \
        static const auto letGo = next<void (*)(Type*)>(#unlock);     \
        __tsan_release(held);                                         \
        letGo(held);                                                  \
    }                                                                 \
    extern "C" int trylock(Type* held) {                              \
        static const auto tryTaking = next<int (*)(Type*)>(#trylock); \
        const int taken = tryTaking(held);                            \
        if (taken) __tsan_acquire(held);                              \
        return taken;                                                 \
    }

QUILLBERN_SEEN_LOCK(GMutex, g_mutex_lock, g_mutex_unlock, g_mutex_trylock)
QUILLBERN_SEEN_LOCK(GRecMutex, g_rec_mutex_lock, g_rec_mutex_unlock, g_rec_mutex_trylock)
QUILLBERN_SEEN_LOCK(GRWLock, g_rw_lock_writer_lock, g_rw_lock_writer_unlock, g_rw_lock_writer_trylock)
QUILLBERN_SEEN_LOCK(GRWLock, g_rw_lock_reader_lock, g_rw_lock_reader_unlock, g_rw_lock_reader_trylock)

// A wait lets the mutex go and takes it again.
extern "C" void g_cond_wait(GCond* condition, GMutex* mutex) {
    static const auto wait = next<void (*)(GCond*, GMutex*)>("g_cond_wait");
    __tsan_release(mutex);
    wait(condition, mutex);
    __tsan_acquire(mutex);
}

extern "C" int g_cond_wait_until(GCond* condition, GMutex* mutex, std::int64_t endTime) {
    static const auto wait = next<int (*)(GCond*, GMutex*, std::int64_t)>("g_cond_wait_until");
    __tsan_release(mutex);
    const int signalled = wait(condition, mutex, endTime);
    __tsan_acquire(mutex);
    return signalled;
}
