#include "ui/settings/SettingsStepper.h"

namespace quillbern {

SettingsStepper::SettingsStepper(int minimum, int maximum, QWidget* parent) : QSpinBox(parent) {
    setRange(minimum, maximum);
    setSingleStep(1);
    setKeyboardTracking(false);
    setAlignment(Qt::AlignRight);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

}  // namespace quillbern
