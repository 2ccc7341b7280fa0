#include "sim/SimPaletteViewFactory.h"

namespace quillbern {

std::shared_ptr<PaletteView> SimPaletteViewFactory::shortcutSheet(const std::vector<ShortcutSheetRow>& rows) {
    last_ = std::make_shared<SimPaletteView>(fitting_);
    last_->sheetRows = rows;
    ++builds_;
    return last_;
}

}  // namespace quillbern
