#pragma once

#include <string>
#include <string_view>

namespace quillbern {

// Well-formed UTF-8: no stray or missing continuation bytes, no overlong forms, no
// surrogates, nothing above U+10FFFF. Stored JSON can hold only such text.
bool isValidUtf8(std::string_view text);

// The text with U+FFFD in place of each broken sequence (the longest start of a sequence,
// or a single stray byte), so a name that is not UTF-8 can still be shown.
std::string replacingInvalidUtf8(std::string_view text);

}  // namespace quillbern
