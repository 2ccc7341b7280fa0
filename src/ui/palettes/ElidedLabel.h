#pragma once

#include <QWidget>

namespace quillbern {

// One line of text that, when narrower than its text, leaves out the middle: the start and
// the end of a long name stay readable. A path may lose its start instead, so its
// innermost folders stay.
class ElidedLabel final : public QWidget {
    Q_OBJECT
public:
    explicit ElidedLabel(QString text, QWidget* parent = nullptr, Qt::TextElideMode mode = Qt::ElideMiddle);

    const QString& text() const { return text_; }
    // What fits in the current width.
    QString shownText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    Qt::TextElideMode mode_;
};

}  // namespace quillbern
