#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "core/foundation/Clock.h"
#include "core/foundation/Geometry.h"
#include "core/foundation/RunLoop.h"
#include "core/palettes/FileSearchState.h"
#include "core/palettes/ShortcutSheetRow.h"
#include "core/platform/PanelHost.h"

namespace quillbern {

class OverviewState;
struct AppSearchViewInputs;
class WindowEngine;
struct OverviewEntry;
struct WindowInfo;

// A palette's content as the toolkit built it, measured before its panel opens; the panel
// takes it over.
class PaletteView : public PanelView {
public:
    // The size the whole content asks for.
    virtual Size fittingSize() const = 0;
    // Gives the keyboard to the view's search field; false when it has none.
    virtual bool focusField() { return false; }
};

// What the file palette's view shows and where it sends what the user does. The view
// reads and edits the state; everything that leaves the palette goes back to its owner.
struct FileSearchViewInputs {
    // Shared, so the view may outlive the opening by the moment its panel takes to close.
    std::shared_ptr<FileSearchState> state;
    const TextServices* text = nullptr;
    // For the rows' dates.
    const Clock* clock = nullptr;
    // Opens a file or enters a folder.
    std::function<void(const FileEntry&)> activate;
    // A row's button: the entry's menu, under the pointer.
    std::function<void(const FileEntry&)> picker;
    // The refusal card's button; unset where the desktop has no page for it.
    Task openSettings;
    // The rows, the mode or the totals changed: the panel is measured again.
    Task onShapeChange;
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
    virtual std::shared_ptr<PaletteView> fileSearch(FileSearchViewInputs inputs) = 0;
};

}  // namespace quillbern
