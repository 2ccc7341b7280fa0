#include "sim/SimPaletteViewFactory.h"

namespace quillbern {

std::shared_ptr<PaletteView> SimPaletteViewFactory::shortcutSheet(const std::vector<ShortcutSheetRow>& rows) {
    last_ = std::make_shared<SimPaletteView>(fitting_);
    last_->sheetRows = rows;
    ++builds_;
    return last_;
}

std::shared_ptr<OverviewPaletteView> SimPaletteViewFactory::overview(OverviewViewInputs inputs) {
    lastOverview_ = std::make_shared<SimOverviewView>(fitting_, std::move(inputs));
    ++builds_;
    return lastOverview_;
}

}  // namespace quillbern
