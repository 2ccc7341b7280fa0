#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "linux/x11/AppMatching.h"
#include "linux/x11/XcbConnection.h"

namespace quillbern {

struct ClientFacts;

// What recognises the application behind each window: the ids it declares, its WM_CLASS
// and its process's executable. Pipelined; windows that vanished meanwhile, or a missed
// deadline, leave their facts empty but for the process.
std::vector<WindowFacts> readWindowFacts(XcbConnection& connection, const std::vector<const ClientFacts*>& windows,
                                         XcbConnection::Deadline deadline);

// The instance and the class of a WM_CLASS value, each ended by a NUL; empty ones are none.
std::pair<std::optional<std::string>, std::optional<std::string>> wmClassParts(std::string_view text);

}  // namespace quillbern
