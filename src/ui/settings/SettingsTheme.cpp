#include "ui/settings/SettingsTheme.h"

#include <QPalette>
#include <QWidget>
#include <cmath>

#include "ui/foundation/Symbols.h"

namespace quillbern {

namespace SettingsTheme {

namespace {

bool animationsInstant = false;

QColor variant(const QPalette& palette, QColor light, QColor dark) {
    return isDark(palette) ? dark : light;
}

}  // namespace

bool isDark(const QPalette& palette) {
    return palette.color(QPalette::Window).lightnessF() < 0.5;
}

QIcon labelSymbol(std::string_view symbol, const QPalette& palette, int side, qreal devicePixelRatio) {
    return symbolIcon(symbol, accent(palette), side, devicePixelRatio, palette.color(QPalette::HighlightedText));
}

QColor mix(const QColor& from, const QColor& to, double fraction) {
    const auto between = [fraction](float a, float b) { return static_cast<float>(a + (b - a) * fraction); };
    return QColor::fromRgbF(between(from.redF(), to.redF()), between(from.greenF(), to.greenF()),
                            between(from.blueF(), to.blueF()), between(from.alphaF(), to.alphaF()));
}

QColor switchTint(const QPalette& palette) {
    return variant(palette, QColor(0x26, 0xa2, 0x69), QColor(0x33, 0xd1, 0x7a));
}

QColor destructive(const QPalette& palette) {
    return variant(palette, QColor(0xe0, 0x1b, 0x24), QColor(0xf6, 0x61, 0x51));
}

QColor warning(const QPalette& palette) {
    return variant(palette, QColor(0xc6, 0x46, 0x00), QColor(0xff, 0xa3, 0x48));
}

QColor accent(const QPalette& palette) {
    return palette.color(QPalette::Highlight);
}

QColor separator(const QPalette& palette) {
    return primaryAt(palette, isDark(palette) ? 0.18 : 0.14);
}

QColor primaryAt(const QPalette& palette, double opacity) {
    QColor colour = palette.color(QPalette::WindowText);
    colour.setAlphaF(static_cast<float>(opacity));
    return colour;
}

QColor tone(SettingsTone tone, const QPalette& palette) {
    switch (tone) {
        case SettingsTone::primary:
            return palette.color(QPalette::WindowText);
        case SettingsTone::secondary:
            return primaryAt(palette, 0.6);
        case SettingsTone::tertiary:
            return primaryAt(palette, 0.32);
        case SettingsTone::accent:
            return accent(palette);
        case SettingsTone::separator:
            return separator(palette);
        case SettingsTone::destructive:
            return destructive(palette);
        case SettingsTone::warning:
            return warning(palette);
    }
    return palette.color(QPalette::WindowText);
}

QColor thinMaterial(const QPalette& palette) {
    QColor fill = palette.color(QPalette::Base);
    fill.setAlphaF(isDark(palette) ? 0.45f : 0.7f);
    return fill;
}

QColor thickMaterial(const QPalette& palette) {
    QColor fill = palette.color(QPalette::Base);
    fill.setAlphaF(0.92f);
    return fill;
}

void setAnimationsInstant(bool instant) {
    animationsInstant = instant;
}

int animationMilliseconds(Duration duration) {
    return animationsInstant ? 0 : static_cast<int>(std::lround(duration * 1000));
}

}  // namespace SettingsTheme

EasedFraction::EasedFraction(QWidget& widget, Duration duration, std::function<void()> onStep)
    : QObject(&widget), widget_(widget), onStep_(std::move(onStep)) {
    animation_.setDuration(SettingsTheme::animationMilliseconds(duration));
    animation_.setEasingCurve(QEasingCurve::OutCubic);
    connect(&animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        value_ = value.toDouble();
        step();
    });
}

void EasedFraction::step() {
    if (onStep_) {
        onStep_();
    } else {
        widget_.update();
    }
}

void EasedFraction::setOn(bool on) {
    if (on == on_) return;
    on_ = on;
    animation_.stop();
    if (animation_.duration() == 0) {
        value_ = on ? 1 : 0;
        step();
        return;
    }
    animation_.setStartValue(value_);
    animation_.setEndValue(on ? 1.0 : 0.0);
    animation_.start();
}

}  // namespace quillbern
