#pragma once

namespace quillbern {

// Makes each tile of a dock's strip a button to accessibility: named as its tooltip says
// (with ", not found" for a missing application), its value "running" or "frontmost",
// pressed as a click presses it. Installs itself once.
void installTileStripAccessibility();

}  // namespace quillbern
