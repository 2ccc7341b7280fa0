#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillbern {

// Well-formed UTF-8: no stray or missing continuation bytes, no overlong forms, no
// surrogates, nothing above U+10FFFF. Stored JSON can hold only such text.
bool isValidUtf8(std::string_view text);

// The length of the well-formed sequence that starts at text[i]; 0 when none starts there.
std::size_t utf8SequenceLength(std::string_view text, std::size_t i);

// The text with U+FFFD in place of each broken sequence (the longest start of a sequence,
// or a single stray byte), so a name that is not UTF-8 can still be shown.
std::string replacingInvalidUtf8(std::string_view text);

}  // namespace quillbern
