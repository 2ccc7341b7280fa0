#pragma once

namespace quillbern {

// The thread that made an object with no run loop to check against, such as a signal.
// Debug builds stop, with the caller's place, when the object is used from another thread,
// as `expectOnLoop` does for objects that know their loop; Release builds keep nothing.
class OwnerThread {
public:
#ifdef NDEBUG
    void expectCurrent(const char* = __builtin_FUNCTION(), const char* = __builtin_FILE(),
                       int = __builtin_LINE()) const {}
#else
    OwnerThread();
    void expectCurrent(const char* function = __builtin_FUNCTION(), const char* file = __builtin_FILE(),
                       int line = __builtin_LINE()) const;

private:
    const void* owner_;
#endif
};

}  // namespace quillbern
