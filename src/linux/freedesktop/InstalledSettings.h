#pragma once

#include <gio/gio.h>

namespace quillbern {

// A settings object of the schema where the schema is installed, or null; the caller
// owns it (g_object_unref).
GSettings* openInstalledSettings(const char* schemaId);

// Whether the settings' schema has the key, of that GVariant type when one is given; false
// for null settings.
bool settingsHaveKey(GSettings* settings, const char* key, const char* type = nullptr);

}  // namespace quillbern
