#pragma once

#include <QAbstractButton>
#include <QStringList>
#include <QWidget>
#include <vector>

class QButtonGroup;

namespace quillbern {

// One segment of a segmented control: an exclusive choice, seen by assistive tools as a
// radio button with its state.
class SegmentButton final : public QAbstractButton {
    Q_OBJECT

public:
    explicit SegmentButton(const QString& title, QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A row of exclusive segments, one always chosen. A click on a segment, or Space on it,
// chooses it and says so through `activated`; `setCurrentIndex` chooses without a word,
// for syncing from a store. Each segment takes its turn in the Tab order.
class SegmentedControl final : public QWidget {
    Q_OBJECT

public:
    explicit SegmentedControl(const QStringList& titles, QWidget* parent = nullptr);

    int currentIndex() const;
    void setCurrentIndex(int index);
    int count() const { return static_cast<int>(segments_.size()); }
    SegmentButton& segment(int index) const { return *segments_.at(static_cast<std::size_t>(index)); }

Q_SIGNALS:
    void activated(int index);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QButtonGroup* group_;
    std::vector<SegmentButton*> segments_;
};

}  // namespace quillbern
