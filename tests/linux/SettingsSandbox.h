#pragma once

namespace quillbern {

// Points GSettings at schemas of the tests' own, with every value kept in memory, so no
// test reads or changes the settings of the user who runs it (support/quillbern-test.gschema.xml
// has the GNOME dock extension's schema as far as we use it). Call before anything reads
// settings: GLib reads the schemas once per process.
void useSettingsSandbox();

}  // namespace quillbern
