#pragma once

#include <string>
#include <string_view>

namespace quillbern {

// An automation URL as a log line may show it: without its query and fragment, which may
// carry what the user typed, and with control characters escaped.
std::string urlForLog(std::string_view url);

}  // namespace quillbern
