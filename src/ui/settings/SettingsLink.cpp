#include "ui/settings/SettingsLink.h"

#include "ui/foundation/IconBesideText.h"
#include "ui/foundation/Symbols.h"
#include "ui/settings/SettingsTheme.h"

namespace quillbern {

namespace {

constexpr int kSymbolSide = 16;

}  // namespace

SettingsLink::SettingsLink(const QString& label, std::string_view symbol, QWidget* parent)
    : QPushButton(label, parent) {
    setFlat(true);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(label);
    const QColor accent = SettingsTheme::accent(palette());
    setIconSize({kSymbolSide, kSymbolSide});
    setIconBesideText(*this, symbolIcon(symbol, accent, kSymbolSide, devicePixelRatioF()));
    // Underlined while it has the keyboard, since a flat button draws no focus ring.
    setStyleSheet(QStringLiteral("QPushButton { color: %1; text-align: left; padding: 2px 0; border: none; }"
                                 "QPushButton:focus { text-decoration: underline; }")
                      .arg(accent.name()));
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
}

}  // namespace quillbern
