#pragma once

#include <string>
#include <string_view>

#include "core/foundation/Clock.h"
#include "core/foundation/Defaults.h"

namespace quillbern {

// A key not yet used in `defaults` for a copy made now: base, infix and the whole seconds
// since 1970 ("profiles.v1.corrupt.1800000000"); a later copy in the same second gets
// ".2", ".3" and so on, so no copy ever replaces another.
std::string freeDatedKey(const Defaults& defaults, const Clock& clock, std::string_view base, std::string_view infix);

}  // namespace quillbern
