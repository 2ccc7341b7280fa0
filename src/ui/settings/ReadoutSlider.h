#pragma once

#include <QSlider>
#include <QString>

namespace quillbern {

// The slider of a Settings slider row, over whole positions 0...last. Every move the user
// makes (pointer, keys, wheel, or an assistive tool setting its value) is told through
// `moved`; `display`, for syncing from a store, places it without a word. Assistive tools
// see its value counted as its readout counts (62 for "62 pt", 35 for "35 %") and the
// readout as its text.
class ReadoutSlider final : public QSlider {
    Q_OBJECT

public:
    // The range assistive tools are told, in the readout's unit.
    struct Range {
        double minimum = 0;
        double maximum = 0;
        double step = 0;
    };

    ReadoutSlider(int lastPosition, Range range, QWidget* parent = nullptr);

    void display(int position, double number, const QString& readout);
    double number() const { return number_; }
    const QString& readout() const { return readout_; }
    const Range& range() const { return range_; }
    // As if the user moved it to the position nearest to a number in the readout's unit.
    void moveToNumber(double number);

Q_SIGNALS:
    void moved(int position);

private:
    Range range_;
    double number_ = 0;
    QString readout_;
};

}  // namespace quillbern
