#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/foundation/Json.h"

namespace quillbern {

std::string base64Encode(const Bytes& bytes);
// Standard alphabet with padding; nullopt for anything else.
std::optional<Bytes> base64Decode(std::string_view text);

}  // namespace quillbern
