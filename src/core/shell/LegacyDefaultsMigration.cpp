#include "core/shell/LegacyDefaultsMigration.h"

#include <array>
#include <string_view>

#include "core/foundation/Log.h"

namespace quillbern {

namespace {

// Records that a permission prompt of the system was shown; they belong to the grant of
// this installation, not to the former one.
constexpr std::array<std::string_view, 2> kPromptRecords{"screenRecordingPrompted", "axPromptedWhileRevoked"};

bool isPromptRecord(std::string_view key) {
    for (const std::string_view record : kPromptRecords)
        if (key == record) return true;
    return false;
}

}  // namespace

void LegacyDefaultsMigration::runIfNeeded(Defaults& defaults, const std::function<std::optional<Json>()>& readFormer) {
    if (defaults.boolValue(kMigratedKey).value_or(false)) return;
    const std::optional<Json> former = readFormer();
    int copied = 0;
    if (former && former->is_object()) {
        for (const auto& [key, value] : former->items()) {
            if (isPromptRecord(key) || defaults.contains(key)) continue;
            defaults.set(key, value);
            ++copied;
        }
    }
    if (copied > 0) {
        defaults.set(kAdoptedKey, true);
        log("migrated ", copied, " preference keys from ", kFormerDomain);
    }
    defaults.set(kMigratedKey, true);
}

}  // namespace quillbern
