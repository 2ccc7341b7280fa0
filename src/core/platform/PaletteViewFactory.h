#pragma once

#include <memory>
#include <vector>

#include "core/foundation/Geometry.h"
#include "core/palettes/ShortcutSheetRow.h"

namespace quillbern {

// A palette's content as the toolkit built it, not shown yet; a panel takes it over
// through PaletteContent.
class PaletteView {
public:
    virtual ~PaletteView() = default;

    // The size the whole content asks for.
    virtual Size fittingSize() const = 0;
};

// Builds the views of the palettes from their state. Main thread.
class PaletteViewFactory {
public:
    virtual ~PaletteViewFactory() = default;

    virtual std::shared_ptr<PaletteView> shortcutSheet(const std::vector<ShortcutSheetRow>& rows) = 0;
};

}  // namespace quillbern
