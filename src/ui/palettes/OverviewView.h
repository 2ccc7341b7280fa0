#pragma once

#include <QWidget>
#include <vector>

#include "core/foundation/Subscription.h"
#include "core/palettes/OverviewState.h"
#include "core/palettes/PaletteViewFactory.h"
#include "ui/foundation/OutlinedView.h"

class QLabel;
class QVariantAnimation;

namespace quillbern {

class AuthorizeButton;
class OverviewRow;
class SystemAppearance;
struct SummonableSlab;

// The application overview on its slab: a row of 120-point tiles with the selected
// application's name under it, which scrolls sideways when told to; "No open apps" when
// no application has windows; a card asking for window access while there is none. It
// follows the overview's state, the windows and the trust as they change.
class OverviewView final : public QWidget, public OutlinedView {
    Q_OBJECT
public:
    OverviewView(OverviewViewInputs inputs, SystemAppearance& system, QWidget* parent = nullptr);
    ~OverviewView() override;

    // Always the size of the content that does not scroll.
    QSize sizeHint() const override;
    QPainterPath outline() const override;
    void setScrolls(bool scrolls);

    // For tests: the row, the name shown under it, and the card's button.
    OverviewRow* row() const { return row_; }
    QString nameLine() const;
    AuthorizeButton* accessButton() const { return accessButton_; }
    QLabel* emptyText() const { return emptyText_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void refresh();
    SummonableSlab slab() const;
    QWidget* shownContent() const;

    OverviewViewInputs inputs_;
    SystemAppearance& system_;
    QWidget* card_ = nullptr;
    AuthorizeButton* accessButton_ = nullptr;
    QLabel* emptyText_ = nullptr;
    OverviewRow* row_ = nullptr;
    std::vector<Subscription> watches_;
};

// The tiles and the name line, painted: the selected tile's highlight slides to the next
// selection, a hovered one is lit faintly, a click raises, a right click lists the windows.
class OverviewRow final : public QWidget {
    Q_OBJECT
public:
    explicit OverviewRow(const OverviewViewInputs& inputs, QWidget* parent);

    void setEntries(std::vector<OverviewEntry> entries);
    const std::vector<OverviewEntry>& entries() const { return entries_; }
    // The selection changed: the highlight slides there and, in a row that scrolls, the
    // tile comes into sight.
    void selectionChanged();
    void setScrolls(bool scrolls);
    bool scrolls() const { return scrolls_; }
    double scrollOffset() const { return offset_; }
    // The name of the selected application.
    QString selectedName() const;
    // Where the tile of the entry at `index` stands, in the row's coordinates.
    QRectF tileRect(std::size_t index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return {0, 0}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;

private:
    std::optional<std::size_t> tileAt(QPointF point) const;
    std::optional<std::size_t> selectedIndex() const;
    double naturalRowWidth() const;
    // Left edge of the first tile: centred when there is room to spare, scrolled otherwise.
    double rowStart() const;
    double maxOffset() const;
    void setOffset(double offset);
    void scrollToSelection();

    const OverviewViewInputs& inputs_;
    std::vector<OverviewEntry> entries_;
    bool scrolls_ = false;
    double offset_ = 0;
    std::optional<std::size_t> hovered_;
    std::optional<std::size_t> pressed_;
    // Where the highlight stands, as a tile position that slides between whole ones.
    double highlight_ = 0;
    QVariantAnimation* slide_ = nullptr;
    QVariantAnimation* scroll_ = nullptr;
};

}  // namespace quillbern
