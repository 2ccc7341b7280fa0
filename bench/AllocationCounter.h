#pragma once

namespace quillbern::bench {

// Heap blocks as the benchmark program's replaced global operator new counts them.
long long allocationCount();
long long liveBlockCount();

}  // namespace quillbern::bench
