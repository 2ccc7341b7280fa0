#pragma once

#include <cstddef>
#include <string_view>

#include "core/foundation/Json.h"
#include "core/foundation/Result.h"

namespace quillbern {

// The deepest nesting of arrays and objects that stored JSON may have. Nothing we write
// comes near it; a deeper value would only exhaust the stack of whatever walks it.
inline constexpr std::size_t kMaxJsonDepth = 256;

// Parses one JSON text, refusing values nested deeper than kMaxJsonDepth. The error says
// why, in words fit for a log line: "nested deeper than 256 levels", "not JSON at line 3
// column 7".
Result<Json> parseJson(std::string_view text);
Result<Json> parseJson(const Bytes& data);

// How deep arrays and objects nest in `value` (a scalar is 0), counted without recursion.
std::size_t nestingDepth(const Json& value);

}  // namespace quillbern
