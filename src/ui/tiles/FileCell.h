#pragma once

#include <QAbstractButton>
#include <QIcon>
#include <functional>
#include <optional>

#include "core/foundation/CancelToken.h"
#include "core/tiles/FolderListing.h"

namespace quillbern {

class ThumbnailCache;

// One item of a pinned folder's popover: its thumbnail, or its type's icon, above its name
// in at most two lines, shortened in the middle. A click opens it; its menu reveals it in
// the file manager. Its thumbnail is asked for only while the cell is in view, and the
// asking stops when it leaves.
class FileCell final : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int kWidth = 88;
    static constexpr int kHeight = 104;
    static constexpr int kPicture = 64;

    FileCell(LocationEntry entry, ThumbnailCache& thumbnails, QWidget* parent);
    ~FileCell() override;

    const LocationEntry& entry() const { return entry_; }
    // The item's new facts; a new change time asks for a new thumbnail.
    void setEntry(LocationEntry entry);
    // Whether the cell is in the popover's view.
    void setInView(bool inView);
    bool showsThumbnail() const { return !thumbnail_.isNull(); }
    // The name as drawn, one string a line.
    QStringList nameLines() const;

    std::function<void()> onOpen;
    std::function<void()> onReveal;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void requestThumbnail();
    void cancelThumbnail();
    QRect nameBox() const;

    LocationEntry entry_;
    ThumbnailCache& thumbnails_;
    QIcon icon_;
    QIcon thumbnail_;
    std::optional<CancelToken> loading_;
    bool inView_ = false;
    bool hovered_ = false;
};

}  // namespace quillbern
