#pragma once

#include "core/palettes/PaletteViewFactory.h"

class QWidget;

namespace quillbern {

class SystemAppearance;

// Palette views as Qt widgets, measured by their size hints.
class QtPaletteViewFactory final : public PaletteViewFactory {
public:
    explicit QtPaletteViewFactory(SystemAppearance& system) : system_(system) {}

    std::shared_ptr<PaletteView> shortcutSheet(const std::vector<ShortcutSheetRow>& rows) override;
    std::shared_ptr<OverviewPaletteView> overview(OverviewViewInputs inputs) override;
    std::shared_ptr<PaletteView> appSearch(const AppSearchViewInputs& inputs) override;
    std::shared_ptr<PaletteView> fileSearch(FileSearchViewInputs inputs) override;

private:
    SystemAppearance& system_;
};

// The widget of a view this factory built, for the panel that takes it over; null for any
// other view, or once its panel closed.
QWidget* paletteWidget(const PaletteView& view);

}  // namespace quillbern
