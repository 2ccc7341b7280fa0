#pragma once

#include <optional>

#include "core/platform/InputState.h"

namespace quillbern {

// The stored key code of a Qt key value by the key's place on a US keyboard, for key
// events that carry no scan code (synthetic ones); none for keys outside the table.
std::optional<KeyCode> keyCodeOfQtKey(int key);

}  // namespace quillbern
