#pragma once

#include <QColor>
#include <QIcon>
#include <QObject>
#include <QVariantAnimation>
#include <functional>
#include <string_view>

#include "core/foundation/Time.h"
#include "core/settings/SettingsControlLooks.h"

class QPalette;
class QWidget;

namespace quillbern {

// The colours, materials and motion every Settings control and pane shares. Colours follow
// the palette: each has a light and a dark variant, chosen by the window's lightness.
namespace SettingsTheme {

// Switches that are on, and marks of a granted or working state.
QColor switchTint(const QPalette& palette);
// Destructive hover states, refusals and errors.
QColor destructive(const QPalette& palette);
// Warnings and actions the user must take.
QColor warning(const QPalette& palette);
QColor accent(const QPalette& palette);
QColor separator(const QPalette& palette);
QColor tone(SettingsTone tone, const QPalette& palette);
// The primary text colour at a fraction of its opacity, for plates and fills.
QColor primaryAt(const QPalette& palette, double opacity);
// Translucent fills standing for the thin material of cards and the thick one of keycaps.
QColor thinMaterial(const QPalette& palette);
QColor thickMaterial(const QPalette& palette);
bool isDark(const QPalette& palette);
// The symbol of a row's label, in the accent, and in the selection's text colour where
// its row stands selected: black theme pictures would vanish on a dark window.
QIcon labelSymbol(std::string_view symbol, const QPalette& palette, int side, qreal devicePixelRatio);
// The colour a fraction of the way from one to the other.
QColor mix(const QColor& from, const QColor& to, double fraction);

// Tests set this so that every eased change lands at once.
void setAnimationsInstant(bool instant);
int animationMilliseconds(Duration duration);

}  // namespace SettingsTheme

// A fraction that eases out between 0 and 1 as its widget's state turns on and off,
// repainting the widget on every step, or doing what `onStep` says; `at` mixes two values
// by it.
class EasedFraction final : public QObject {
public:
    EasedFraction(QWidget& widget, Duration duration, std::function<void()> onStep = {});

    void setOn(bool on);
    double value() const { return value_; }
    double at(double off, double on) const { return off + (on - off) * value_; }

private:
    void step();

    QWidget& widget_;
    std::function<void()> onStep_;
    QVariantAnimation animation_;
    double value_ = 0;
    bool on_ = false;
};

}  // namespace quillbern
