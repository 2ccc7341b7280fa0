#include "linux/freedesktop/LinuxNativeDockPreferences.h"

#include <array>
#include <vector>

#include "core/foundation/Log.h"
#include "linux/freedesktop/InstalledSettings.h"

namespace quillbern {

namespace {

struct MappedKey {
    std::string_view ours;
    const char* extension;
    // A Boolean whose sense is the opposite of ours.
    bool inverted;
};

constexpr std::array<MappedKey, 3> kMappedKeys{{
    {"autohide", "dock-fixed", true},
    {"autohide-delay", "show-delay", false},
    {"autohide-time-modifier", "animation-time", false},
}};

const MappedKey* mapped(std::string_view ours) {
    for (const MappedKey& key : kMappedKeys) {
        if (key.ours == ours) return &key;
    }
    return nullptr;
}

// Null when the value has no form the key can hold.
GVariant* variantFor(const MappedKey& key, const Json& value) {
    if (key.inverted) {
        if (value.is_boolean()) return g_variant_new_boolean(!value.get<bool>());
        if (value.is_number()) return g_variant_new_boolean(value.get<double>() == 0);
        return nullptr;
    }
    if (value.is_number()) return g_variant_new_double(value.get<double>());
    return nullptr;
}

}  // namespace

LinuxNativeDockPreferences::LinuxNativeDockPreferences(const char* schemaId)
    : settings_(openInstalledSettings(schemaId)) {
    if (!settings_) return;
    for (const MappedKey& key : kMappedKeys) {
        if (settingsHaveKey(settings_, key.extension, key.inverted ? "b" : "d")) continue;
        // Another extension under the same name: not a dock we know how to hide.
        log("the dock settings ", schemaId, " have no key ", key.extension,
            " of the expected type; the desktop's dock "
            "cannot be hidden");
        g_object_unref(settings_);
        settings_ = nullptr;
        return;
    }
}

LinuxNativeDockPreferences::~LinuxNativeDockPreferences() {
    if (settings_) g_object_unref(settings_);
}

std::optional<Json> LinuxNativeDockPreferences::value(std::string_view key) const {
    if (const auto found = pending_.find(key); found != pending_.end()) return found->second;
    return storedValue(key);
}

void LinuxNativeDockPreferences::setValue(std::string_view key, std::optional<Json> value) {
    if (!settings_ || !mapped(key)) return;
    pending_.insert_or_assign(std::string(key), std::move(value));
}

bool LinuxNativeDockPreferences::synchronize() {
    if (!settings_) return false;
    // Every change is checked before any is made, so a refusal leaves the dock as it was.
    struct Change {
        const char* key;
        GVariant* value;  // null: back to the extension's default
    };
    std::vector<Change> changes;
    bool refused = false;
    for (const auto& [ours, value] : std::exchange(pending_, {})) {
        const MappedKey& key = *mapped(ours);
        if (refused || value == storedValue(ours)) continue;
        GVariant* variant = value ? variantFor(key, *value) : nullptr;
        if (!g_settings_is_writable(settings_, key.extension)) {
            log("the desktop's dock setting ", key.extension, " is locked");
            refused = true;
        } else if (value && !variant) {
            log("the desktop's dock setting ", key.extension, " cannot hold ", escapedForLog(value->dump()));
            refused = true;
        }
        changes.push_back({key.extension, variant ? g_variant_ref_sink(variant) : nullptr});
    }
    for (const Change& change : changes) {
        if (!refused) {
            if (change.value) {
                g_settings_set_value(settings_, change.key, change.value);
            } else {
                g_settings_reset(settings_, change.key);
            }
        }
        if (change.value) g_variant_unref(change.value);
    }
    if (refused) return false;
    // Through to the settings store before we go on: a quit may follow at once.
    g_settings_sync();
    return true;
}

ProcessResult LinuxNativeDockPreferences::restartDock(Duration) {
    ProcessResult result;
    result.launched = true;
    result.exitStatus = 0;
    return result;
}

std::optional<Json> LinuxNativeDockPreferences::storedValue(std::string_view ours) const {
    const MappedKey* key = mapped(ours);
    if (!settings_ || !key) return std::nullopt;
    GVariant* stored = g_settings_get_user_value(settings_, key->extension);
    if (!stored) return std::nullopt;
    std::optional<Json> value;
    if (g_variant_is_of_type(stored, G_VARIANT_TYPE_BOOLEAN)) {
        const bool on = g_variant_get_boolean(stored) != FALSE;
        value = key->inverted ? !on : on;
    } else if (g_variant_is_of_type(stored, G_VARIANT_TYPE_DOUBLE)) {
        value = g_variant_get_double(stored);
    }
    g_variant_unref(stored);
    return value;
}

}  // namespace quillbern
