#pragma once

namespace quillbern::bench {

// Heap blocks as the benchmark program's replaced global operator new counts them.
long long allocationCount();
long long liveBlockCount();
// Bytes held by live blocks, as the allocator sized them.
long long liveByteCount();

}  // namespace quillbern::bench
