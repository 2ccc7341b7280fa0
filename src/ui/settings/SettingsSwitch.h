#pragma once

#include <QAbstractButton>

#include "ui/settings/SettingsTheme.h"

namespace quillbern {

// The switch of every Settings toggle: a track tinted green while on, a knob that slides.
// A click or Space flips it and says so through `clicked`; `setChecked` (under a signal
// blocker while syncing from a store) moves it without a word. Assistive tools see a check
// box and its state. Its own title stays hidden: the row names it.
class SettingsSwitch final : public QAbstractButton {
    Q_OBJECT

public:
    explicit SettingsSwitch(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {38, 22}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void checkStateSet() override;
    void nextCheckState() override;

private:
    EasedFraction knob_;
};

}  // namespace quillbern
