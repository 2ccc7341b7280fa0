#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/foundation/Result.h"

namespace quillbern {

// gettext trusts the catalogues it reads: it follows their offsets without a bound, waits on
// a FIFO, divides by whatever the plural rule says and copies the header's character set onto
// the stack. A catalogue is handed to it only when these checks pass.
inline constexpr std::uint64_t kMaxCatalogueBytes = 4 << 20;

// Whether `bytes` are a catalogue gettext reads safely: its magic number in either byte
// order, a revision without system-dependent strings, tables and strings inside the bytes,
// every string ended by a NUL, a hash table gettext's probes cannot run around forever, and
// a short header whose plural rule divides only by numbers other than zero. Otherwise the
// reason, in plain words.
Result<void> checkCatalogue(std::string_view bytes);

// The same for the file at `path`, which must be a regular file of at most kMaxCatalogueBytes.
Result<void> checkCatalogueFile(const std::filesystem::path& path);

// The names of the folders gettext may read a catalogue of `language` from ("zh_CN": zh_CN,
// then zh for a text zh_CN lacks), most specific first, as glibc tries them: with and without
// the modifier, the territory and the codeset (also as glibc normalises it, "UTF-8" as
// "utf8"), down to the language alone.
std::vector<std::string> catalogueFoldersOf(std::string_view language);

}  // namespace quillbern
