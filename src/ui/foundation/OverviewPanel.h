#pragma once

#include "ui/foundation/SearchPanel.h"

namespace quillbern {

// The overview's panel: a palette panel without key equivalents, where Command-period
// (Ctrl+. in our windows) cancels as Escape does, before any key handler sees it.
class OverviewPanel final : public SearchPanel {
    Q_OBJECT
public:
    using SearchPanel::SearchPanel;

protected:
    bool offersKeyEquivalents() const override { return false; }
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace quillbern
