#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "core/foundation/Subscription.h"
#include "core/tiles/LocationContent.h"

class QGridLayout;
class QLabel;
class QProgressBar;
class QScrollArea;
class QToolButton;

namespace quillbern {

class FileCell;

// What a pinned folder's popover holds: a header with the folder's icon and name, the
// note that only the most recent items show, and a button that opens the folder; under
// it the grid of the folder's items, or a note for a folder that is gone, unreadable or
// empty, or a spinner until the first listing arrives, at the size that listing will
// most likely take.
class LocationContentView final : public QWidget {
    Q_OBJECT
public:
    // `dismiss` closes the popover; the view lists the folder once shown.
    LocationContentView(LocationBrowser& browser, PinnedStore& store, const PinnedLocation& location,
                        const Uuid& profileID, std::function<void()> dismiss, QWidget* parent);
    ~LocationContentView() override;

    const LocationContent& model() const { return *model_; }
    // The cells in the grid's order.
    const std::vector<FileCell*>& cells() const { return cells_; }
    QLabel& note() const { return *note_; }
    QLabel& truncationNote() const { return *truncation_; }
    bool showsSpinner() const;
    bool showsGrid() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void sync();
    // Beside the folder's name and note where all fit in the header's `room`, else under them.
    void placeOpenButton(int room);
    void placeCells();
    // Cells in view ask for their thumbnails; the others stop asking.
    void markCellsInView();
    double scrollerWidth() const;

public:
    // The view took a new size.
    std::function<void()> onResized;

private:
    LocationBrowser& browser_;
    std::function<void()> dismiss_;
    std::unique_ptr<LocationContent> model_;
    QWidget* header_;
    QGridLayout* headerGrid_;
    QLabel* folderIcon_;
    QLabel* name_;
    QLabel* truncation_;
    QToolButton* open_;
    QLabel* note_;
    QProgressBar* spinner_;
    QScrollArea* scroll_;
    QWidget* grid_;
    std::vector<FileCell*> cells_;
    bool appeared_ = false;
    Subscription observer_;
};

}  // namespace quillbern
