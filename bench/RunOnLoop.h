#pragma once

#include <future>

#include "core/foundation/RunLoop.h"

namespace quillbern::bench {

// Runs `fn` on the loop's own thread, as the program would, and waits until it has run.
template <class Fn>
void runOn(RunLoop& loop, Fn fn) {
    std::promise<void> done;
    loop.post([&] {
        fn();
        done.set_value();
    });
    done.get_future().wait();
}

}  // namespace quillbern::bench
