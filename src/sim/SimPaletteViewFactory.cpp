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

std::shared_ptr<PaletteView> SimPaletteViewFactory::appSearch(const AppSearchViewInputs& inputs) {
    last_ = std::make_shared<SimPaletteView>(fitting_);
    last_->appSearchState = inputs.state;
    last_->open = inputs.open;
    last_->pinMenu = inputs.pinMenu;
    last_->hasField = true;
    ++builds_;
    return last_;
}

std::shared_ptr<PaletteView> SimPaletteViewFactory::fileSearch(FileSearchViewInputs inputs) {
    last_ = std::make_shared<SimPaletteView>(fitting_);
    last_->fileInputs = std::move(inputs);
    last_->hasField = true;
    ++builds_;
    return last_;
}

}  // namespace quillbern
