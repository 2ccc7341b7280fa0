#pragma once

#include <cstddef>
#include <vector>

#include "core/foundation/Clock.h"
#include "core/foundation/Defaults.h"
#include "core/foundation/Uuid.h"
#include "core/model/Profile.h"

namespace quillbern {

// The most docks the store keeps.
inline constexpr std::size_t kMaxProfiles = 10;

// The repairs after every load, in order: the dock limit (the whole list kept under a
// dated ".overflow." key before it is cut), the one-time multidock migration, folder
// flattening (the list backed up once), duplicate removal inside each dock, and at most
// two visible docks per slot. Writes only its copies and migration keys; never the docks.
// Answers how many removed duplicates held what the kept items do not, so the caller
// keeps the stored form they came from.
std::size_t normalizeAfterLoad(std::vector<Profile>& profiles, Defaults& defaults, const Clock& clock,
                               UuidSource& uuids);

// Makes each dock's name one line (`oneLineName`); true when any changed.
bool makeNamesOneLine(std::vector<Profile>& profiles);

// Gives each dock whose identifier an earlier dock already has a fresh one, since every
// operation finds a dock by its identifier; true when any was renewed.
bool renewRepeatedIds(std::vector<Profile>& profiles, UuidSource& uuids);

}  // namespace quillbern
