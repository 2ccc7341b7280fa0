#pragma once

#include <functional>
#include <optional>

#include "core/foundation/Defaults.h"

namespace quillbern {

// Takes over, once per user, the settings the program kept under its former name: every
// value the current settings do not already hold, except the records of permission prompts
// already shown. The former settings are only read.
class LegacyDefaultsMigration {
public:
    static constexpr const char* kFormerDomain = "com.alderpine.app";
    static constexpr const char* kMigratedKey = "migratedFromLegacyBundleID";
    static constexpr const char* kAdoptedKey = "adoptedLegacyDefaults";

    // `readFormer` gives the former settings, none when they do not exist; it is called
    // only when the import has not run yet.
    static void runIfNeeded(Defaults& defaults, const std::function<std::optional<Json>()>& readFormer);
};

}  // namespace quillbern
