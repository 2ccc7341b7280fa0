#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/foundation/Subscription.h"

namespace quillbern {

// Automation URLs handed to the program: its own command line's, and those of every later
// start, which hands its URLs to the running program and ends. A later start without URLs
// asks for the program itself.
class UrlEvents {
public:
    virtual ~UrlEvents() = default;

    // [main] One batch per start, in the order given.
    [[nodiscard]] virtual Subscription onOpenUrls(std::function<void(const std::vector<std::string>&)> handler) = 0;
    // [main] A later start without URLs.
    [[nodiscard]] virtual Subscription onReopen(std::function<void()> handler) = 0;
};

}  // namespace quillbern
