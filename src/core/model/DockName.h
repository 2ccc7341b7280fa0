#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillbern {

// A dock's name as the docks keep it: one line, read in the order it was typed. Control
// characters and the bidirectional embeddings, overrides and isolates are taken out; a line
// break or tab between two words leaves one space. Each way a name enters (typed, made, read
// from the stored docks) passes through it.
std::string oneLineName(std::string_view name);

// The most characters of a dock's name that a menu line or a sentence shows.
inline constexpr std::size_t kLongestNameInText = 40;

// A name inside a menu line or a sentence, a dock's or a window's: one of more than `longest`
// characters keeps its start and its end around "…". Views that know their width elide by it
// instead.
std::string nameInText(std::string_view name, std::size_t longest = kLongestNameInText);

}  // namespace quillbern
