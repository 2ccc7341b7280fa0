#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "core/palettes/AppSearchState.h"
#include "core/palettes/PaletteViewFactory.h"

namespace quillbern {

// A palette view that asks for the size a test gives it.
class SimPaletteView final : public PaletteView {
public:
    explicit SimPaletteView(Size fitting) : fitting_(fitting) {}

    Size fittingSize() const override { return fitting_; }
    void setFittingSize(Size size) { fitting_ = size; }
    bool focusField() override {
        if (!hasField) return false;
        ++fieldFocuses;
        return true;
    }

    // What it was built from. The application search's state is not kept alive by the
    // view, so a test sees it go with the showing.
    std::vector<ShortcutSheetRow> sheetRows;
    std::weak_ptr<AppSearchState> appSearchState;
    std::function<void(const InstalledApp&)> open;
    std::function<void(const InstalledApp&)> pinMenu;
    FileSearchViewInputs fileInputs;
    bool hasField = false;
    int fieldFocuses = 0;

private:
    Size fitting_;
};

// The overview's view: the size a test gives it, and what the controller told it.
class SimOverviewView final : public OverviewPaletteView {
public:
    SimOverviewView(Size fitting, OverviewViewInputs inputs) : inputs(std::move(inputs)), fitting_(fitting) {}

    Size fittingSize() const override { return fitting_; }
    void setFittingSize(Size size) { fitting_ = size; }
    void setScrolls(bool scrolls) override { this->scrolls = scrolls; }
    // The overview has no field.

    OverviewViewInputs inputs;
    std::optional<bool> scrolls;

private:
    Size fitting_;
};

// Builds simulated views of the size a test scripts, and keeps the last one built.
class SimPaletteViewFactory final : public PaletteViewFactory {
public:
    std::shared_ptr<PaletteView> shortcutSheet(const std::vector<ShortcutSheetRow>& rows) override;
    std::shared_ptr<OverviewPaletteView> overview(OverviewViewInputs inputs) override;
    std::shared_ptr<PaletteView> appSearch(const AppSearchViewInputs& inputs) override;
    std::shared_ptr<PaletteView> fileSearch(FileSearchViewInputs inputs) override;

    // For the views built from now on.
    void setFittingSize(Size size) { fitting_ = size; }
    const std::shared_ptr<SimPaletteView>& lastBuilt() const { return last_; }
    int buildCount() const { return builds_; }
    const std::shared_ptr<SimOverviewView>& lastOverview() const { return lastOverview_; }

private:
    Size fitting_{400, 300};
    std::shared_ptr<SimPaletteView> last_;
    std::shared_ptr<SimOverviewView> lastOverview_;
    int builds_ = 0;
};

}  // namespace quillbern
