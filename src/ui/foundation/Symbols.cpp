#include "ui/foundation/Symbols.h"

#include <QApplication>
#include <QColor>
#include <QCoreApplication>
#include <QIcon>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <array>
#include <map>
#include <string>

#include "ui/foundation/QtIcons.h"

namespace quillbern {

namespace {

struct SymbolNames {
    std::string_view symbol;
    std::array<const char*, 2> themeNames;
};

// Every symbol the program draws. A symbolic name suits themes in vector form; a plain name
// after it serves themes that carry only pictures. Where the theme has neither, the symbol is
// the program's own picture of it (data/symbols).
constexpr std::array kSymbols{
    SymbolNames{"plus.square.on.square", {"list-add-symbolic", "list-add"}},
    SymbolNames{"lock.shield", {"security-high-symbolic", "changes-prevent-symbolic"}},
    SymbolNames{"questionmark.app.dashed", {"application-x-executable", "image-missing"}},
    SymbolNames{"app.dashed", {"application-x-executable", "application-default-icon"}},
    SymbolNames{"square.stack.3d.up", {"view-continuous-symbolic", "view-paged-symbolic"}},
    SymbolNames{"arrow.down.forward.square", {"window-minimize-symbolic", "window-minimize"}},
    SymbolNames{"arrow.up.forward.square", {"folder-open-symbolic", "folder-open"}},
    SymbolNames{"gearshape", {"preferences-system-symbolic", "emblem-system"}},
    SymbolNames{"paintbrush", {"applications-graphics-symbolic", "applications-graphics"}},
    SymbolNames{"eye", {"view-reveal-symbolic", "preferences-desktop-display"}},
    SymbolNames{"bubble.left.and.text.bubble.right", {"help-faq-symbolic", "help-faq"}},
    SymbolNames{"questionmark.circle", {"help-browser-symbolic", "help-browser"}},
    SymbolNames{"info.circle", {"help-about-symbolic", "help-about"}},
    SymbolNames{"macwindow", {"window-symbolic", "preferences-system-windows"}},
    SymbolNames{"magnifyingglass", {"system-search-symbolic", "edit-find-symbolic"}},
    SymbolNames{"xmark.circle.fill", {"edit-clear-symbolic", "window-close-symbolic"}},
    SymbolNames{"pin.fill", {"view-pin-symbolic", "pin-symbolic"}},
    SymbolNames{"plus.circle.fill", {"list-add-symbolic", "list-add"}},
    SymbolNames{"display", {"preferences-desktop-display-symbolic", "video-display"}},
    SymbolNames{"square.stack.3d.up.fill", {"view-app-grid-symbolic", "preferences-system-windows"}},
    SymbolNames{"photo.on.rectangle.angled", {"image-x-generic-symbolic", "image-x-generic"}},
    SymbolNames{"slider.horizontal.3", {"preferences-system-symbolic", "preferences-system"}},
    SymbolNames{"checkmark.circle.fill", {"emblem-ok-symbolic", "emblem-default"}},
    SymbolNames{"exclamationmark.triangle", {"dialog-warning-symbolic", "dialog-warning"}},
    SymbolNames{"xmark.octagon", {"dialog-error-symbolic", "dialog-error"}},
    SymbolNames{"arrow.uturn.backward", {"edit-undo-symbolic", "edit-undo"}},
    SymbolNames{"folder", {"folder-symbolic", "folder"}},
    SymbolNames{"chevron.backward", {"go-previous-symbolic", "go-previous"}},
    SymbolNames{"chevron.forward", {"go-next-symbolic", "go-next"}},
    SymbolNames{"pin.circle.fill", {"view-pin-symbolic", "emblem-favorite"}},
    SymbolNames{"ellipsis.circle.fill", {"view-more-symbolic", "open-menu"}},
    SymbolNames{"plus", {"list-add-symbolic", "list-add"}},
    SymbolNames{"minus", {"list-remove-symbolic", "list-remove"}},
    // The Appearance, Hover previews and Permissions panes.
    SymbolNames{"square.resize", {"view-fullscreen-symbolic", "view-fullscreen"}},
    SymbolNames{"rectangle.roundedtop", {"checkbox-symbolic", "view-restore"}},
    SymbolNames{"circle.bottomrighthalf.pattern.checkered",
                {"preferences-desktop-wallpaper-symbolic", "preferences-desktop-wallpaper"}},
    SymbolNames{"drop.halffull", {"color-select-symbolic", "preferences-color-symbolic"}},
    SymbolNames{"textformat", {"preferences-desktop-font-symbolic", "preferences-desktop-font"}},
    SymbolNames{"circle.dashed.inset.filled", {"display-brightness-symbolic", "weather-clear-symbolic"}},
    SymbolNames{"circle.lefthalf.filled", {"night-light-symbolic", "weather-clear-night-symbolic"}},
    SymbolNames{"accessibility", {"preferences-desktop-accessibility-symbolic", "preferences-desktop-accessibility"}},
    // The Support, Help and About panes.
    SymbolNames{"doc.on.clipboard", {"edit-copy-symbolic", "edit-copy"}},
    SymbolNames{"envelope", {"mail-unread-symbolic", "mail-unread"}},
    SymbolNames{"globe", {"web-browser-symbolic", "web-browser"}},
    SymbolNames{"person.crop.circle", {"avatar-default-symbolic", "avatar-default"}},
    SymbolNames{"hand.raised", {"security-medium-symbolic", "security-medium"}},
    SymbolNames{"arrow.triangle.2.circlepath", {"view-refresh-symbolic", "view-refresh"}},
    SymbolNames{"sparkles", {"starred-symbolic", "starred"}},
    SymbolNames{"eye.slash", {"view-conceal-symbolic", "view-conceal"}},
    SymbolNames{"pin", {"view-pin-symbolic", "pin-symbolic"}},
    SymbolNames{"rectangle.split.3x1", {"view-dual-symbolic", "view-dual"}},
    SymbolNames{"rectangle.grid.2x2", {"view-grid-symbolic", "view-grid"}},
    SymbolNames{"keyboard", {"input-keyboard-symbolic", "input-keyboard"}},
    SymbolNames{"link", {"insert-link-symbolic", "insert-link"}},
    // The General pane.
    SymbolNames{"timer", {"preferences-system-time-symbolic", "appointment-soon"}},
    SymbolNames{"hare", {"power-profile-performance-symbolic", "media-seek-forward-symbolic"}},
    SymbolNames{"tortoise", {"power-profile-power-saver-symbolic", "media-seek-backward-symbolic"}},
    SymbolNames{"metronome", {"audio-x-generic-symbolic", "audio-x-generic"}},
    SymbolNames{"rays", {"weather-clear-symbolic", "display-brightness-symbolic"}},
    SymbolNames{"power", {"system-shutdown-symbolic", "system-shutdown"}},
    SymbolNames{"dock.rectangle", {"user-desktop-symbolic", "user-desktop"}},
    SymbolNames{"command.square", {"preferences-desktop-keyboard-shortcuts-symbolic", "input-keyboard"}},
    // The dock editor's apps and automation cards.
    SymbolNames{"doc.on.doc", {"edit-copy-symbolic", "edit-copy"}},
    SymbolNames{"checkmark", {"object-select-symbolic", "emblem-ok-symbolic"}},
    SymbolNames{"folder.badge.plus", {"folder-new-symbolic", "folder-new"}},
    // The dock editor's placement card.
    SymbolNames{"rectangle.dashed", {"zoom-fit-best-symbolic", "view-fullscreen"}},
    SymbolNames{"arrow.left.and.right.righttriangle.left.righttriangle.right",
                {"object-flip-horizontal-symbolic", "object-flip-horizontal"}},
    SymbolNames{"macwindow.on.rectangle", {"focus-windows-symbolic", "preferences-system-windows"}},
    SymbolNames{"hand.tap", {"input-touchpad-symbolic", "input-mouse"}},
    SymbolNames{"trash", {"user-trash-symbolic", "user-trash"}},
    // Always the program's own: themes have no filled variant of the first, and the remove
    // button shows the two apart; nor have they the edges of a screen.
    SymbolNames{"minus.circle", {}},
    SymbolNames{"minus.circle.fill", {}},
    SymbolNames{"rectangle.bottomthird.inset.filled", {}},
    SymbolNames{"rectangle.topthird.inset.filled", {}},
    SymbolNames{"rectangle.leftthird.inset.filled", {}},
    SymbolNames{"rectangle.rightthird.inset.filled", {}},
    // What a file of a type the themes have no icon of shows, after text-x-generic.
    SymbolNames{"doc", {}},
};

// What a name the table lacks is drawn as.
constexpr std::string_view kPlaceholder = "questionmark.app.dashed";

void paintInColour(QPainter& painter, const QRectF& box, const QIcon& icon, const QColor& color) {
    if (!color.isValid()) {
        paintIconFitted(painter, box, icon);
        return;
    }
    const QRect target = box.toAlignedRect();
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    QPixmap glyph = icon.pixmap(target.size(), ratio);
    // Not chosen yet.
    if (glyph.isNull()) return;
    QPainter tint(&glyph);
    tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
    tint.fillRect(glyph.rect(), color);
    tint.end();
    painter.drawPixmap(target, glyph);
}

// The program's own picture of the symbol, in grey for a colour to take its place.
QIcon bundledIcon(std::string_view symbol) {
    const bool known = std::ranges::any_of(kSymbols, [&](const SymbolNames& entry) { return entry.symbol == symbol; });
    const std::string_view shown = known ? symbol : kPlaceholder;
    return QIcon(QStringLiteral(":/quillbern/symbols/") + QLatin1String(shown.data(), qsizetype(shown.size())) +
                 QStringLiteral(".svg"));
}

// A symbol in one colour, and in another where it is selected, drawn at each paint from
// symbolIcon, so it shows once its picture is chosen; as a picture of one size, never drawn
// larger than that.
class TintedSymbolEngine final : public QIconEngine {
public:
    TintedSymbolEngine(std::string_view symbol, QColor color, QColor selectedColor, QSize most)
        : symbol_(symbol), color_(std::move(color)), selectedColor_(std::move(selectedColor)), most_(most) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const QSize drawn = actualSize(size, mode, state);
        if (drawn.isEmpty()) return {};
        QPixmap picture(drawn);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        paintSymbol(painter, QRectF(QPointF(0, 0), drawn), symbol_,
                    mode == QIcon::Selected && selectedColor_.isValid() ? selectedColor_ : color_);
        painter.end();
        if (mode != QIcon::Disabled) return picture;
        QStyleOption option;
        option.palette = QApplication::palette();
        return QApplication::style()->generatedIconPixmap(QIcon::Disabled, picture, &option);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap shown = pixmap(rect.size() * ratio, mode, state);
        shown.setDevicePixelRatio(ratio);
        const QSizeF fitted = QSizeF(shown.size()) / ratio;
        painter->drawPixmap(QRectF(QPointF(rect.x() + (rect.width() - fitted.width()) / 2,
                                           rect.y() + (rect.height() - fitted.height()) / 2),
                                   fitted),
                            shown, QRectF(shown.rect()));
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size.boundedTo(most_); }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {most_}; }
    QString key() const override { return QStringLiteral("quillbern.symbol"); }
    QIconEngine* clone() const override { return new TintedSymbolEngine(symbol_, color_, selectedColor_, most_); }

private:
    std::string symbol_;
    QColor color_;
    QColor selectedColor_;
    QSize most_;
};

}  // namespace

QStringList themeNamesOfSymbol(std::string_view symbol) {
    QStringList names;
    for (const SymbolNames& entry : kSymbols) {
        if (entry.symbol != symbol) continue;
        for (const char* name : entry.themeNames) {
            if (name) names << QString::fromLatin1(name);
        }
    }
    return names;
}

std::vector<std::string_view> everySymbol() {
    std::vector<std::string_view> symbols;
    for (const SymbolNames& entry : kSymbols)
        symbols.push_back(entry.symbol);
    return symbols;
}

QIcon symbolIcon(std::string_view symbol) {
    // Made once a name: a picture of Qt's resources costs a lookup of its engine each time,
    // and a stand-in is made for every icon from outside.
    static std::map<std::string, QIcon, std::less<>> made;
    static const bool goesWithTheApplication = [] {
        qAddPostRoutine([] { made.clear(); });
        return true;
    }();
    (void)goesWithTheApplication;
    if (const auto known = made.find(symbol); known != made.end()) return known->second;
    return made.emplace(symbol, steadyThemeIcon(themeNamesOfSymbol(symbol), bundledIcon(symbol))).first->second;
}

void paintSymbol(QPainter& painter, const QRectF& box, std::string_view symbol, const QColor& color) {
    paintInColour(painter, box, symbolIcon(symbol), color);
}

QIcon symbolIcon(std::string_view symbol, const QColor& color, int side, qreal devicePixelRatio,
                 const QColor& selectedColor) {
    return QIcon(new TintedSymbolEngine(symbol, color, selectedColor, QSize(side, side) * devicePixelRatio));
}

}  // namespace quillbern
