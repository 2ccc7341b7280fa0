#pragma once

#include <QWidget>
#include <vector>

#include "core/foundation/Subscription.h"
#include "core/palettes/ShortcutSheetRow.h"
#include "ui/palettes/PaletteSlabView.h"

class QScrollArea;

namespace quillbern {

// The shortcut sheet: a title, then one line per registered shortcut (a dock's marked
// with a stack, the held one with "hold") in a list that scrolls when the sheet is cut
// to its display's height, and a footer; or, with nothing registered, why the list is
// empty. Between 380 and 560 wide; long names lose their middle, chords stay whole.
class ShortcutSheetView final : public PaletteSlabView {
    Q_OBJECT
public:
    ShortcutSheetView(const std::vector<ShortcutSheetRow>& rows, SystemAppearance& system, QWidget* parent = nullptr);

    // The whole content, list included, at its width.
    QSize sizeHint() const override;
    // Null when there are no rows.
    QScrollArea* list() const { return list_; }

private:
    QScrollArea* list_ = nullptr;
};

}  // namespace quillbern
