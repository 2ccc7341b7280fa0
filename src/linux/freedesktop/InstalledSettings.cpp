#include "linux/freedesktop/InstalledSettings.h"

namespace quillbern {

GSettings* openInstalledSettings(const char* schemaId) {
    // g_settings_new aborts the process on a schema that is not installed; look it up first.
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (!source) return nullptr;
    GSettingsSchema* schema = g_settings_schema_source_lookup(source, schemaId, TRUE);
    if (!schema) return nullptr;
    GSettings* settings = g_settings_new_full(schema, nullptr, nullptr);
    g_settings_schema_unref(schema);
    return settings;
}

bool settingsHaveKey(GSettings* settings, const char* key, const char* type) {
    if (!settings) return false;
    GSettingsSchema* schema = nullptr;
    g_object_get(settings, "settings-schema", &schema, nullptr);
    bool has = schema && g_settings_schema_has_key(schema, key);
    if (has && type) {
        GSettingsSchemaKey* schemaKey = g_settings_schema_get_key(schema, key);
        has = g_variant_type_equal(g_settings_schema_key_get_value_type(schemaKey), G_VARIANT_TYPE(type));
        g_settings_schema_key_unref(schemaKey);
    }
    if (schema) g_settings_schema_unref(schema);
    return has;
}

}  // namespace quillbern
