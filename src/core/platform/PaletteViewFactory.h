#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "core/foundation/Geometry.h"
#include "core/foundation/RunLoop.h"
#include "core/palettes/ShortcutSheetRow.h"

namespace quillbern {

class OverviewState;
struct AppSearchViewInputs;
class WindowEngine;
struct OverviewEntry;
struct WindowInfo;

// A palette's content as the toolkit built it, not shown yet; a panel takes it over
// through PaletteContent.
class PaletteView {
public:
    virtual ~PaletteView() = default;

    // The size the whole content asks for.
    virtual Size fittingSize() const = 0;
    // Gives the keyboard to the view's search field; false when it has none.
    virtual bool focusField() { return false; }
};

// What the overview's view reads, and what it reports back.
struct OverviewViewInputs {
    WindowEngine* engine = nullptr;
    std::shared_ptr<OverviewState> state;
    // A tile was clicked.
    std::function<void(const OverviewEntry&)> activate;
    // A window was chosen in a tile's menu, which raises it itself.
    std::function<void(const WindowInfo&)> onWindowRaise;
    // The button of the card that asks for window access.
    Task askForAccess;
};

// The overview's row of applications, which scrolls sideways when it is too wide for its
// display.
class OverviewPaletteView : public PaletteView {
public:
    // Its fitting size is always that of the row that does not scroll.
    virtual void setScrolls(bool scrolls) = 0;
};

// Builds the views of the palettes from their state. Main thread.
class PaletteViewFactory {
public:
    virtual ~PaletteViewFactory() = default;

    virtual std::shared_ptr<PaletteView> shortcutSheet(const std::vector<ShortcutSheetRow>& rows) = 0;
    virtual std::shared_ptr<OverviewPaletteView> overview(OverviewViewInputs inputs) = 0;
    virtual std::shared_ptr<PaletteView> appSearch(const AppSearchViewInputs& inputs) = 0;
};

}  // namespace quillbern
