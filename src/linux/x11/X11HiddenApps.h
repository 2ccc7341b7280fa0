#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

#include "core/platform/Types.h"

namespace quillbern {

// What our own hiding did: the windows each application's hiding minimised, kept until the
// application is shown again or ends. X11 has no hidden applications, so this record is
// what makes one: the running applications hide and show through it, and window access
// answers from it whether an application is hidden and shows it again. Any thread.
class X11HiddenApps {
public:
    // Adds windows to what the application's hiding minimised, each once.
    void remember(Pid pid, const std::vector<std::uint32_t>& windows);
    std::vector<std::uint32_t> windows(Pid pid) const;
    // The windows remembered, forgotten from now on.
    std::vector<std::uint32_t> take(Pid pid);
    void forget(Pid pid);

private:
    mutable std::mutex mutex_;
    std::map<Pid, std::vector<std::uint32_t>> windows_;
};

}  // namespace quillbern
