#include "ui/settings/ReadoutSlider.h"

#include <QAccessibleWidget>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>

namespace quillbern {

namespace {

class ReadoutSliderAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ReadoutSliderAccessible(ReadoutSlider* slider) : QAccessibleWidget(slider, QAccessible::Slider) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return slider()->readout();
        return QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return slider()->number(); }
    void setCurrentValue(const QVariant& value) override { slider()->moveToNumber(value.toDouble()); }
    QVariant maximumValue() const override { return slider()->range().maximum; }
    QVariant minimumValue() const override { return slider()->range().minimum; }
    QVariant minimumStepSize() const override { return slider()->range().step; }

private:
    ReadoutSlider* slider() const { return static_cast<ReadoutSlider*>(widget()); }
};

QAccessibleInterface* readoutSliderFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(ReadoutSlider::staticMetaObject.className()))
        return new ReadoutSliderAccessible(static_cast<ReadoutSlider*>(object));
    return nullptr;
}

}  // namespace

ReadoutSlider::ReadoutSlider(int lastPosition, Range range, QWidget* parent)
    : QSlider(Qt::Horizontal, parent), range_(range) {
    static const bool installed = [] {
        QAccessible::installFactory(readoutSliderFactory);
        return true;
    }();
    (void)installed;
    setRange(0, lastPosition);
    setSingleStep(1);
    setPageStep(1);
    setFocusPolicy(Qt::StrongFocus);
    // The value follows the pointer, so the store is written at every step of a drag.
    setTracking(true);
    connect(this, &QAbstractSlider::actionTriggered, this, [this] { Q_EMIT moved(sliderPosition()); });
}

void ReadoutSlider::display(int position, double number, const QString& readout) {
    number_ = number;
    readout_ = readout;
    const QSignalBlocker quiet(this);
    setValue(position);
}

void ReadoutSlider::moveToNumber(double number) {
    if (range_.step <= 0 || !std::isfinite(number)) return;
    const double steps = std::round((number - range_.minimum) / range_.step);
    const int position = std::clamp(static_cast<int>(std::clamp(steps, 0.0, 1e6)), minimum(), maximum());
    Q_EMIT moved(position);
}

}  // namespace quillbern
