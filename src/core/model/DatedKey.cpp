#include "core/model/DatedKey.h"

#include <cstdint>

namespace quillbern {

std::string keepDatedCopy(Defaults& defaults, const Clock& clock, std::string_view base, std::string_view infix,
                          const Json& value) {
    const std::string prefix = std::string(base).append(infix);
    for (const std::string& key : defaults.keys()) {
        if (key.starts_with(prefix) && defaults.value(key) == value) return key;
    }
    const auto seconds = static_cast<std::int64_t>(clock.wallNow().sinceEpoch);
    const std::string dated = prefix + std::to_string(seconds);
    std::string key = dated;
    for (int copy = 2; defaults.contains(key); ++copy)
        key = dated + "." + std::to_string(copy);
    defaults.set(key, value);
    return key;
}

}  // namespace quillbern
