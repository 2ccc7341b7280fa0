#pragma once

#include <string>
#include <string_view>

#include "core/foundation/Clock.h"
#include "core/foundation/Defaults.h"
#include "core/foundation/Json.h"

namespace quillbern {

// Keeps `value` under a dated key: base, infix and the whole seconds since 1970
// ("profiles.v1.corrupt.1800000000"); a later copy in the same second gets ".2", ".3" and
// so on, so no copy ever replaces another. When a copy under base and infix already holds
// the same value, that one stays the only copy: damage met at every start is kept once.
// Answers the key of the copy.
std::string keepDatedCopy(Defaults& defaults, const Clock& clock, std::string_view base, std::string_view infix,
                          const Json& value);

}  // namespace quillbern
