#pragma once

#include <QSpinBox>

namespace quillbern {

// A whole number stepped between two limits by its arrows or the Up and Down keys. Typed
// digits count once the field is left or Return is pressed, so a two-digit number is
// never written half-typed. A change by the user comes through `valueChanged`; sync it
// from its store under a signal blocker.
class SettingsStepper final : public QSpinBox {
public:
    SettingsStepper(int minimum, int maximum, QWidget* parent = nullptr);
};

}  // namespace quillbern
