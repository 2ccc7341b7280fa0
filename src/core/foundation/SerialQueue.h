#pragma once

#include <functional>

#include "core/foundation/CancelToken.h"

namespace quillbern {

// Work run one item at a time, in the order given, on a thread of its own.
class SerialQueue {
public:
    using Work = std::function<void(const CancelToken&)>;

    // Work not yet begun is dropped; the item that runs is given a bounded time to end.
    virtual ~SerialQueue() = default;

    // Any thread. Work whose token is cancelled before its turn is skipped; running work
    // may look at the token and stop early.
    virtual void async(CancelToken token, Work work) = 0;
};

}  // namespace quillbern
