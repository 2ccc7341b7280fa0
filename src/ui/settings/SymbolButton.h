#pragma once

#include <QColor>
#include <string>
#include <string_view>

#include "ui/settings/SettingsIconButton.h"

namespace quillbern {

// A plain icon-only button: one symbol in one colour, which its owner may change (a copy
// button that turns into a green checkmark).
class SymbolButton final : public SettingsIconButton {
public:
    SymbolButton(std::string_view symbol, int side, const QString& help, QWidget* parent = nullptr);

    // An invalid colour paints the theme's own.
    void setSymbol(std::string_view symbol, const QColor& color);
    const std::string& symbol() const { return symbol_; }
    QSize sizeHint() const override { return {side_ + 8, side_ + 8}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string symbol_;
    QColor color_;
    int side_;
};

}  // namespace quillbern
