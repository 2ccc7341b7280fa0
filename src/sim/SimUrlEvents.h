#pragma once

#include <string>
#include <vector>

#include "core/foundation/Signal.h"
#include "core/platform/UrlEvents.h"

namespace quillbern {

// URL batches and later starts a test delivers at any moment.
class SimUrlEvents final : public UrlEvents {
public:
    Subscription onOpenUrls(std::function<void(const std::vector<std::string>&)> handler) override {
        return batches_.connect(std::move(handler));
    }
    Subscription onReopen(std::function<void()> handler) override { return reopens_.connect(std::move(handler)); }
    void deliver(const std::vector<std::string>& urls) { batches_.emit(urls); }
    void reopen() { reopens_.emit(); }

private:
    Signal<std::vector<std::string>> batches_;
    Signal<> reopens_;
};

}  // namespace quillbern
