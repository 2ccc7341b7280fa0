#pragma once

#include <QAbstractButton>

#include "core/settings/DocksPaneModel.h"
#include "ui/settings/SettingsTheme.h"

class QMimeData;

namespace quillbern {

// One dock of the Docks pane's list: a button that selects its dock, with the status dot,
// the name, the shortcut and the edge; a context menu that asks to remove the dock; a
// drag source that reorders the docks and a drop target for that drag. Up and Down ask
// for the row above or below. A row belongs to one dock for its whole life: the list only
// moves it, so a reorder never ends the drag that caused it.
class DockRow final : public QAbstractButton {
    Q_OBJECT

public:
    DockRow(DocksPaneModel& model, const DockRowData& data, QWidget* parent = nullptr);

    void setData(const DockRowData& data);
    const DockRowData& data() const { return data_; }
    // 1, or faint while the row's own drag runs.
    double opacity() const;
    // The dock left the list: the row goes, once its drag or menu has ended.
    void retire();
    // The removal that the context menu offers, asked for.
    void askToRemove();
    // The contents of a drag of this dock's row.
    static QMimeData* dragData(const Uuid& id);

    QSize sizeHint() const override;

    // The texts as drawn at the row's width: the name whole while there is room for it,
    // the shortcut cut to its key first and left out when not even that fits.
    QString shownName() const { return texts().name; }
    QString shownChord() const { return texts().chord; }

Q_SIGNALS:
    // Up (-1), Down (+1), Home and End (a step past the list's end).
    void moveRequested(int step);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void applyData();
    void startDrag();
    // Runs a nested event loop (a drag, a menu) during which the row must not be deleted.
    template <class Run>
    void whileBusy(Run run);
    QRectF dotRect() const;
    QRectF edgeRect() const;
    struct Texts {
        QString name;
        QRectF nameBox;
        QString chord;
        QRectF chordBox;
    };
    Texts texts() const;

    DocksPaneModel& model_;
    DockRowData data_;
    QPoint pressedAt_;
    int busy_ = 0;
    bool retired_ = false;
    EasedFraction hover_;
};

}  // namespace quillbern
