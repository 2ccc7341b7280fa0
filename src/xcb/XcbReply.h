#pragma once

#include <cstdlib>
#include <memory>

namespace quillbern {

// Frees what xcb allocates for replies and events.
struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

}  // namespace quillbern
