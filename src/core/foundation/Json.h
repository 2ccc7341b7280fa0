#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <vector>

namespace quillbern {

using Json = nlohmann::json;
using Bytes = std::vector<std::uint8_t>;

}  // namespace quillbern
