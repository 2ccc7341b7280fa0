#pragma once

#include <filesystem>
#include <string_view>

#include "core/foundation/Result.h"

namespace quillbern {

// The temporary file beside `target` that a replacement is written to first.
std::filesystem::path temporaryPathFor(const std::filesystem::path& target);

// Writes and flushes `contents` to the temporary file of `target`; `target` is untouched.
Result<void> writeTemporaryFile(const std::filesystem::path& target, std::string_view contents);

// Renames the written temporary file over `target`, in one step.
Result<void> commitTemporaryFile(const std::filesystem::path& target);

// Both steps: a crash at any moment leaves either the old file or the new one, whole.
Result<void> writeFileAtomically(const std::filesystem::path& target, std::string_view contents);

}  // namespace quillbern
