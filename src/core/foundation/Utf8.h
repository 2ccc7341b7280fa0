#pragma once

#include <string_view>

namespace quillbern {

// Well-formed UTF-8: no stray or missing continuation bytes, no overlong forms, no
// surrogates, nothing above U+10FFFF. Stored JSON can hold only such text.
bool isValidUtf8(std::string_view text);

}  // namespace quillbern
