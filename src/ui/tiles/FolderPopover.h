#pragma once

#include <QRect>
#include <QWidget>
#include <functional>

#include "core/model/PinnedItem.h"
#include "core/tiles/LocationTiles.h"

namespace quillbern {

class LocationBrowser;
class LocationContentView;
class PinnedStore;
struct Uuid;

// The pop-up that browses a pinned folder beside its tile, its arrow pointing at the tile.
// A click outside it, Escape, or an item chosen closes it.
class FolderPopover final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kArrowDepth = 8;
    static constexpr int kArrowWidth = 18;
    static constexpr double kCornerRadius = 12;

    // `tile` is the tile's box on the screen.
    FolderPopover(LocationBrowser& browser, PinnedStore& store, const PinnedLocation& location, const Uuid& profileID,
                  QRect tile, ArrowEdge arrow, QWidget* parent);

    LocationContentView& content() const { return *content_; }
    // Where it stands beside the tile, inside the screen that holds the tile.
    void place();

    // It closed, however it closed.
    std::function<void()> onClosed;

protected:
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QPainterPath outline() const;
    QRect body() const;

    LocationContentView* content_;
    QRect tile_;
    ArrowEdge arrow_;
};

}  // namespace quillbern
