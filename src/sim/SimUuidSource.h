#pragma once

#include <cstdint>

#include "core/foundation/Uuid.h"

namespace quillbern {

// Predictable UUIDs: the seed in the first bytes, a counter in the last.
class SimUuidSource final : public UuidSource {
public:
    explicit SimUuidSource(std::uint32_t seed = 0) : seed_(seed) {}
    Uuid make() override;

private:
    std::uint32_t seed_;
    std::uint64_t counter_ = 0;
};

}  // namespace quillbern
