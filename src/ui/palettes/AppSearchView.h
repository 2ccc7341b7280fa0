#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "core/foundation/Subscription.h"
#include "core/palettes/AppSearchState.h"
#include "ui/palettes/PaletteSlabView.h"

class QLabel;
class QToolButton;
class QVariantAnimation;

namespace quillbern {

class PaletteField;

// The application search: the field row, then the hint while the query is blank, the
// rows of up to eight results (icon, name, the pin badge of the docks holding it, the pin
// button on the highlighted or hovered row), or the line saying nothing matches. The
// highlight slides from row to row. 568 wide, slab margin included.
class AppSearchView final : public PaletteSlabView {
    Q_OBJECT
public:
    AppSearchView(AppSearchViewInputs inputs, SystemAppearance& system, QWidget* parent = nullptr);

    QSize sizeHint() const override;

    PaletteField* field() const { return field_; }

private:
    class Rows;

    // Brings what shows in line with the state.
    void refresh();

    AppSearchViewInputs inputs_;
    PaletteField* field_ = nullptr;
    QToolButton* clear_ = nullptr;
    QWidget* divider_ = nullptr;
    QLabel* hint_ = nullptr;
    QLabel* noMatch_ = nullptr;
    Rows* rows_ = nullptr;
    Subscription stateObserver_;
};

}  // namespace quillbern
