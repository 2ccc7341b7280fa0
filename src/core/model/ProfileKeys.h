#pragma once

#include <string_view>

namespace quillbern {

// The keys under which the docks live in the application's defaults.
inline constexpr std::string_view kProfilesKey = "profiles.v1";
inline constexpr std::string_view kCorruptInfix = ".corrupt.";
inline constexpr std::string_view kOverflowInfix = ".overflow.";
inline constexpr std::string_view kFoldersBackupKey = "profiles.v1.folders-backup";
inline constexpr std::string_view kRecoveredKey = "profilesRecoveredFromUnreadableData";
inline constexpr std::string_view kMultidockMigratedKey = "profiles.multidock.migrated";
// Older forms, only read.
inline constexpr std::string_view kLegacyPinnedAppsKey = "pinnedApps";
inline constexpr std::string_view kLegacyActiveProfileKey = "activeProfileID";

}  // namespace quillbern
