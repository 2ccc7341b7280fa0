#include "core/model/DatedKey.h"

#include <cstdint>

namespace quillbern {

std::string freeDatedKey(const Defaults& defaults, const Clock& clock, std::string_view base, std::string_view infix) {
    const auto seconds = static_cast<std::int64_t>(clock.wallNow().sinceEpoch);
    const std::string dated = std::string(base).append(infix).append(std::to_string(seconds));
    std::string key = dated;
    for (int copy = 2; defaults.contains(key); ++copy)
        key = dated + "." + std::to_string(copy);
    return key;
}

}  // namespace quillbern
