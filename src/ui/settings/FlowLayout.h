#pragma once

#include <QLayout>
#include <QList>

namespace quillbern {

// Widgets side by side at their natural sizes from the leading edge, each one that finds no
// room left on its line starting the next: a row of buttons that stacks where a language's
// longer words leave the buttons too little room side by side.
class FlowLayout final : public QLayout {
public:
    FlowLayout(QWidget* parent, int spacing);
    ~FlowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;

    QSize sizeHint() const override;
    QSize minimumSize() const override;
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    void setGeometry(const QRect& rect) override;

private:
    // Places the items in `rect` (only measures them without `place`); returns the height
    // they take there, margins included.
    int arrange(const QRect& rect, bool place) const;

    QList<QLayoutItem*> items_;
};

}  // namespace quillbern
