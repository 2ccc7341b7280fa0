#pragma once

#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>

#include "core/foundation/RunLoop.h"

namespace quillbern::test {

// Runs `fn` on the worker loop and waits, at most five seconds, for its answer.
template <class Fn>
auto onWorker(RunLoop& loop, Fn fn) -> decltype(fn()) {
    using Answer = decltype(fn());
    auto task = std::make_shared<std::packaged_task<Answer()>>(std::move(fn));
    auto answer = task->get_future();
    loop.post([task] { (*task)(); });
    if (answer.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        throw std::runtime_error("the worker did not answer within 5 s");
    }
    return answer.get();
}

}  // namespace quillbern::test
