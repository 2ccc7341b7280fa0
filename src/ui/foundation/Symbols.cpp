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

// Every symbol the program draws. A theme's picture stands for a symbol only where its name
// means what the symbol shows where it is used: a picture that looks alike but means something
// else (a desktop folder for a dock, a check box for a corner) would mislead. A symbolic name
// suits themes in vector form; a plain name after it serves themes that carry only pictures.
// Where the theme has neither, or no name means the thing, the symbol is the program's own
// picture of it (data/symbols). No two symbols shown on one page share a theme's name, so
// the rows of a page stay apart.
constexpr std::array kSymbols{
    SymbolNames{"plus.square.on.square", {"list-add-symbolic", "list-add"}},
    SymbolNames{"lock.shield", {"changes-prevent-symbolic"}},
    SymbolNames{"questionmark.app.dashed", {"image-missing"}},
    SymbolNames{"app.dashed", {"application-x-executable", "application-default-icon"}},
    SymbolNames{"square.stack.3d.up", {}},
    SymbolNames{"arrow.down.forward.square", {"window-minimize-symbolic", "window-minimize"}},
    SymbolNames{"arrow.up.forward.square", {"system-file-manager-symbolic", "system-file-manager"}},
    SymbolNames{"gearshape", {"preferences-system-symbolic", "preferences-system"}},
    // The common theme's picture of appearance settings is drawn through an SVG mask, which
    // Qt draws as a filled square.
    SymbolNames{"paintbrush", {}},
    SymbolNames{"eye", {"view-reveal-symbolic"}},
    SymbolNames{"bubble.left.and.text.bubble.right", {}},
    SymbolNames{"questionmark.circle", {"help-browser-symbolic", "help-browser"}},
    SymbolNames{"info.circle", {"help-about-symbolic", "help-about"}},
    SymbolNames{"macwindow", {"window-symbolic"}},
    SymbolNames{"magnifyingglass", {"system-search-symbolic", "edit-find-symbolic"}},
    SymbolNames{"xmark.circle.fill", {"edit-clear-symbolic", "edit-clear"}},
    SymbolNames{"pin.fill", {"view-pin-symbolic", "pin-symbolic"}},
    // Beside "plus" in the dock editor.
    SymbolNames{"plus.circle.fill", {}},
    SymbolNames{"display", {"preferences-desktop-display-symbolic", "video-display"}},
    SymbolNames{"square.stack.3d.up.fill", {}},
    SymbolNames{"photo.on.rectangle.angled", {}},
    SymbolNames{"slider.horizontal.3", {"preferences-system-symbolic", "preferences-system"}},
    SymbolNames{"checkmark.circle.fill", {"emblem-ok-symbolic", "emblem-default"}},
    SymbolNames{"exclamationmark.triangle", {"dialog-warning-symbolic", "dialog-warning"}},
    SymbolNames{"xmark.octagon", {"dialog-error-symbolic", "dialog-error"}},
    SymbolNames{"arrow.uturn.backward", {"edit-undo-symbolic", "edit-undo"}},
    SymbolNames{"folder", {"folder-symbolic", "folder"}},
    SymbolNames{"chevron.backward", {"go-previous-symbolic", "go-previous"}},
    SymbolNames{"chevron.forward", {"go-next-symbolic", "go-next"}},
    SymbolNames{"pin.circle.fill", {"view-pin-symbolic", "pin-symbolic"}},
    SymbolNames{"ellipsis.circle.fill", {"view-more-horizontal-symbolic", "view-more-symbolic"}},
    SymbolNames{"plus", {"list-add-symbolic", "list-add"}},
    SymbolNames{"minus", {"list-remove-symbolic", "list-remove"}},
    // The Appearance, Hover previews and Permissions panes.
    SymbolNames{"square.resize", {}},
    SymbolNames{"rectangle.roundedtop", {}},
    SymbolNames{"circle.bottomrighthalf.pattern.checkered", {}},
    SymbolNames{"drop.halffull", {}},
    SymbolNames{"textformat", {}},
    SymbolNames{"circle.dashed.inset.filled", {}},
    SymbolNames{"circle.lefthalf.filled", {}},
    // "Window access", which no theme name means.
    SymbolNames{"accessibility", {}},
    // The Support, Help and About panes.
    SymbolNames{"doc.on.clipboard", {"edit-copy-symbolic", "edit-copy"}},
    SymbolNames{"envelope", {"mail-message-new-symbolic", "mail-message-new"}},
    SymbolNames{"globe", {}},
    SymbolNames{"person.crop.circle", {"avatar-default-symbolic", "avatar-default"}},
    SymbolNames{"hand.raised", {}},
    SymbolNames{"arrow.triangle.2.circlepath", {}},
    SymbolNames{"sparkles", {}},
    SymbolNames{"eye.slash", {"view-conceal-symbolic", "view-conceal"}},
    SymbolNames{"pin", {"view-pin-symbolic", "pin-symbolic"}},
    SymbolNames{"rectangle.split.3x1", {}},
    SymbolNames{"rectangle.grid.2x2", {}},
    SymbolNames{"keyboard", {"input-keyboard-symbolic", "input-keyboard"}},
    SymbolNames{"link", {}},
    // The General pane.
    SymbolNames{"timer", {}},
    SymbolNames{"hare", {}},
    SymbolNames{"tortoise", {}},
    SymbolNames{"metronome", {}},
    SymbolNames{"rays", {}},
    SymbolNames{"power", {}},
    SymbolNames{"dock.rectangle", {}},
    SymbolNames{"command.square",
                {"preferences-desktop-keyboard-shortcuts-symbolic", "preferences-desktop-keyboard-shortcuts"}},
    // The dock editor's apps and automation cards.
    SymbolNames{"doc.on.doc", {"edit-copy-symbolic", "edit-copy"}},
    SymbolNames{"checkmark", {"object-select-symbolic", "emblem-ok-symbolic"}},
    SymbolNames{"folder.badge.plus", {}},
    // The dock editor's placement card.
    SymbolNames{"rectangle.dashed", {}},
    SymbolNames{"arrow.left.and.right.righttriangle.left.righttriangle.right", {}},
    SymbolNames{"macwindow.on.rectangle", {}},
    SymbolNames{"hand.tap", {}},
    SymbolNames{"trash", {"user-trash-symbolic", "user-trash"}},
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
