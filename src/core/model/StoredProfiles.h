#pragma once

#include <cstddef>
#include <vector>

#include "core/foundation/Json.h"
#include "core/foundation/Result.h"
#include "core/model/DecodingError.h"
#include "core/model/PinnedItem.h"
#include "core/model/Profile.h"

namespace quillbern {

// The data stored under "profiles.v1": a JSON array of every dock.
struct StoredProfiles {
    std::vector<Profile> profiles;
    // Stored elements the lenient reading of the docks left out.
    std::size_t dropped = 0;

    // One dock that fails to read fails the whole list.
    static Result<StoredProfiles, DecodingError> decode(const Bytes& data);
    // Fails only on text that is not valid UTF-8.
    static Result<Bytes> encode(const std::vector<Profile>& profiles);

    // The oldest stored form, "pinnedApps": a JSON array of application payloads.
    static Result<std::vector<PinnedApp>, DecodingError> decodeLegacyApps(const Bytes& data);
};

}  // namespace quillbern
