#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "core/foundation/Subscription.h"
#include "core/palettes/AppSearchState.h"
#include "ui/foundation/OutlinedView.h"

class QLabel;
class QToolButton;
class QVariantAnimation;

namespace quillbern {

class PaletteField;
class SystemAppearance;
struct SummonableSlab;

// The application search: the field row, then the hint while the query is blank, the
// rows of up to eight results (icon, name, the pin badge of the docks holding it, the pin
// button on the highlighted or hovered row), or the line saying nothing matches. The
// highlight slides from row to row. 568 wide, slab margin included.
class AppSearchView final : public QWidget, public OutlinedView {
    Q_OBJECT
public:
    AppSearchView(AppSearchViewInputs inputs, SystemAppearance& system, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QPainterPath outline() const override;

    PaletteField* field() const { return field_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    class Rows;

    SummonableSlab slab() const;
    // Brings what shows in line with the state.
    void refresh();

    AppSearchViewInputs inputs_;
    SystemAppearance& system_;
    PaletteField* field_ = nullptr;
    QToolButton* clear_ = nullptr;
    QWidget* divider_ = nullptr;
    QLabel* hint_ = nullptr;
    QLabel* noMatch_ = nullptr;
    Rows* rows_ = nullptr;
    Subscription stateObserver_;
    Subscription systemObserver_;
};

}  // namespace quillbern
