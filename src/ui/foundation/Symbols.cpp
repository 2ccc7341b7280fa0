#include "ui/foundation/Symbols.h"

#include <QColor>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>
#include <cmath>

#include "ui/foundation/QtIcons.h"

namespace quillbern {

namespace {

struct SymbolNames {
    std::string_view symbol;
    std::array<const char*, 2> themeNames;
};

// Only the symbols the program draws. A symbolic name suits themes in vector form; a plain
// name after it serves themes that carry only pictures.
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
};
// "minus.circle" and "minus.circle.fill" are always our own drawings: themes have no
// filled variant, and the remove button shows the two apart. So are the edges of a screen
// ("rectangle.bottomthird.inset.filled" and the top, left and right ones), which themes lack.

QIcon themeIcon(std::string_view symbol) {
    for (const QString& name : themeNamesOfSymbol(symbol)) {
        if (QIcon::hasThemeIcon(name)) return themeIconNamed(name);
    }
    return {};
}

void paintThemeIcon(QPainter& painter, const QRectF& box, const QIcon& icon, const QColor& color) {
    if (!color.isValid()) {
        paintIconFitted(painter, box, icon);
        return;
    }
    const QRect target = box.toAlignedRect();
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    QPixmap glyph = icon.pixmap(target.size(), ratio);
    QPainter tint(&glyph);
    tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
    tint.fillRect(glyph.rect(), color);
    tint.end();
    painter.drawPixmap(target, glyph);
}

// Our own drawings, for themes without the symbol: outlines in the given colour.
void drawSquaresWithPlus(QPainter& p, const QRectF& b) {
    const double s = b.width() * 0.7;
    const double r = s * 0.2;
    p.drawRoundedRect(QRectF(b.left() + b.width() - s, b.top(), s, s), r, r);
    const QRectF front(b.left(), b.top() + b.height() - s, s, s);
    p.setBrush(p.pen().color());
    p.drawRoundedRect(front, r, r);
    p.setPen(QPen(QColor(255, 255, 255, 220), p.pen().widthF()));
    const QPointF c = front.center();
    p.drawLine(QPointF(c.x() - s * 0.25, c.y()), QPointF(c.x() + s * 0.25, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - s * 0.25), QPointF(c.x(), c.y() + s * 0.25));
}

void drawLockShield(QPainter& p, const QRectF& b) {
    QPainterPath shield;
    shield.moveTo(b.center().x(), b.top());
    shield.lineTo(b.right(), b.top() + b.height() * 0.18);
    shield.cubicTo(b.right(), b.top() + b.height() * 0.65, b.center().x() + b.width() * 0.1, b.bottom(), b.center().x(),
                   b.bottom());
    shield.cubicTo(b.center().x() - b.width() * 0.1, b.bottom(), b.left(), b.top() + b.height() * 0.65, b.left(),
                   b.top() + b.height() * 0.18);
    shield.closeSubpath();
    p.drawPath(shield);
    const double w = b.width() * 0.34;
    const QRectF body(b.center().x() - w / 2, b.top() + b.height() * 0.45, w, b.height() * 0.26);
    p.setBrush(p.pen().color());
    p.drawRect(body);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(body.left() + w * 0.15, body.top() - w * 0.5, w * 0.7, w), 0, 180 * 16);
}

void drawDashedAppWithQuestion(QPainter& p, const QRectF& b) {
    QPen dashed = p.pen();
    dashed.setStyle(Qt::DashLine);
    p.setPen(dashed);
    p.drawRoundedRect(b.adjusted(1, 1, -1, -1), b.width() * 0.22, b.width() * 0.22);
    QFont font = p.font();
    font.setPixelSize(std::max(6, static_cast<int>(std::lround(b.height() * 0.55))));
    font.setBold(true);
    p.setFont(font);
    p.setPen(QPen(dashed.color()));
    p.drawText(b, Qt::AlignCenter, QStringLiteral("?"));
}

// Three flat layers, one above the other.
void drawStack(QPainter& p, const QRectF& b) {
    const double layer = b.height() * 0.4;
    const double step = (b.height() - layer) / 2;
    for (int i = 0; i < 3; ++i) {
        const double top = b.top() + i * step;
        QPainterPath plate;
        plate.moveTo(b.center().x(), top);
        plate.lineTo(b.right(), top + layer / 2);
        plate.lineTo(b.center().x(), top + layer);
        plate.lineTo(b.left(), top + layer / 2);
        plate.closeSubpath();
        p.drawPath(plate);
    }
}

void drawArrowDownForwardSquare(QPainter& p, const QRectF& b) {
    const QRectF square = b.adjusted(b.width() * 0.1, b.height() * 0.1, -b.width() * 0.1, -b.height() * 0.1);
    p.drawRoundedRect(square, square.width() * 0.2, square.width() * 0.2);
    const QPointF from(square.left() + square.width() * 0.3, square.top() + square.height() * 0.3);
    const QPointF to(square.left() + square.width() * 0.7, square.top() + square.height() * 0.7);
    p.drawLine(from, to);
    const double head = square.width() * 0.28;
    p.drawLine(to, QPointF(to.x() - head, to.y()));
    p.drawLine(to, QPointF(to.x(), to.y() - head));
}

void drawMagnifyingGlass(QPainter& p, const QRectF& b) {
    const double lens = b.width() * 0.62;
    const QRectF circle(b.left() + b.width() * 0.06, b.top() + b.height() * 0.06, lens, lens);
    p.drawEllipse(circle);
    const QPointF from = circle.center() + QPointF(lens * 0.36, lens * 0.36);
    p.drawLine(from, QPointF(b.right() - b.width() * 0.08, b.bottom() - b.height() * 0.08));
}

// A filled disc with a mark cut out of it in white: a cross, a plus, three dots or a
// pin's head.
void drawDiscWithMark(QPainter& p, const QRectF& b, std::string_view mark) {
    const QColor ink = p.pen().color();
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(b.adjusted(0.5, 0.5, -0.5, -0.5));
    p.setPen(QPen(QColor(255, 255, 255, 230), std::max(1.0, b.width() / 9)));
    const QPointF c = b.center();
    const double r = b.width() * 0.22;
    if (mark == "xmark") {
        p.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
        p.drawLine(c + QPointF(-r, r), c + QPointF(r, -r));
    } else if (mark == "minus") {
        p.drawLine(c + QPointF(-r * 1.2, 0), c + QPointF(r * 1.2, 0));
    } else if (mark == "plus") {
        p.drawLine(c + QPointF(-r * 1.2, 0), c + QPointF(r * 1.2, 0));
        p.drawLine(c + QPointF(0, -r * 1.2), c + QPointF(0, r * 1.2));
    } else if (mark == "ellipsis") {
        for (const double dx : {-1.5 * r, 0.0, 1.5 * r})
            p.drawPoint(c + QPointF(dx, 0));
    } else if (mark == "pin") {
        p.drawEllipse(c + QPointF(0, -r / 2), r / 1.5, r / 1.5);
        p.drawLine(c, c + QPointF(0, 1.5 * r));
    }
}

// A push pin: a round head over a point.
void drawPin(QPainter& p, const QRectF& b) {
    const QColor ink = p.pen().color();
    p.setBrush(ink);
    const double head = b.width() * 0.56;
    p.drawEllipse(QRectF(b.center().x() - head / 2, b.top(), head, head));
    p.drawLine(QPointF(b.center().x(), b.top() + head), QPointF(b.center().x(), b.bottom()));
}

// A ring with a minus, or a plain plus or minus.
void drawMinusCircle(QPainter& p, const QRectF& b) {
    p.drawEllipse(b.adjusted(1, 1, -1, -1));
    const QPointF c = b.center();
    p.drawLine(c + QPointF(-b.width() * 0.25, 0), c + QPointF(b.width() * 0.25, 0));
}

void drawPlainMark(QPainter& p, const QRectF& b, bool plus) {
    const QPointF c = b.center();
    const double r = b.width() * 0.38;
    p.drawLine(c + QPointF(-r, 0), c + QPointF(r, 0));
    if (plus) p.drawLine(c + QPointF(0, -r), c + QPointF(0, r));
}

void drawChevron(QPainter& p, const QRectF& b, bool forward) {
    const double x0 = b.left() + b.width() * (forward ? 0.35 : 0.65);
    const double x1 = b.left() + b.width() * (forward ? 0.65 : 0.35);
    p.drawLine(QPointF(x0, b.top() + b.height() * 0.2), QPointF(x1, b.center().y()));
    p.drawLine(QPointF(x1, b.center().y()), QPointF(x0, b.bottom() - b.height() * 0.2));
}

void drawFolder(QPainter& p, const QRectF& b) {
    const QRectF body = b.adjusted(b.width() * 0.08, b.height() * 0.28, -b.width() * 0.08, -b.height() * 0.15);
    p.drawRoundedRect(body, b.width() * 0.08, b.width() * 0.08);
    p.drawLine(QPointF(body.left(), body.top()), QPointF(body.left(), b.top() + b.height() * 0.18));
    p.drawLine(QPointF(body.left(), b.top() + b.height() * 0.18),
               QPointF(b.center().x() - b.width() * 0.05, b.top() + b.height() * 0.18));
}

// A screen with the third along one edge filled: where a dock stands.
void drawScreenThird(QPainter& p, const QRectF& b, std::string_view edge) {
    const QRectF screen = b.adjusted(0.5, b.height() * 0.14, -0.5, -b.height() * 0.14);
    const double r = screen.height() * 0.2;
    p.drawRoundedRect(screen, r, r);
    const double inset = p.pen().widthF() * 1.5;
    const QRectF inner = screen.adjusted(inset, inset, -inset, -inset);
    QRectF third = inner;
    if (edge == "bottom") {
        third.setTop(inner.bottom() - inner.height() / 3);
    } else if (edge == "top") {
        third.setBottom(inner.top() + inner.height() / 3);
    } else if (edge == "left") {
        third.setRight(inner.left() + inner.width() / 3);
    } else {
        third.setLeft(inner.right() - inner.width() / 3);
    }
    p.fillRect(third, p.pen().color());
}

void paintDrawn(QPainter& painter, const QRectF& box, std::string_view symbol, const QColor& color) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink = color.isValid() ? color : QColor(128, 128, 128);
    painter.setPen(QPen(ink, std::max(1.0, box.width() / 12)));
    painter.setBrush(Qt::NoBrush);
    if (symbol == "plus.square.on.square") {
        drawSquaresWithPlus(painter, box);
    } else if (symbol == "lock.shield") {
        drawLockShield(painter, box);
    } else if (symbol == "square.stack.3d.up") {
        drawStack(painter, box);
    } else if (symbol == "arrow.down.forward.square") {
        drawArrowDownForwardSquare(painter, box);
    } else if (symbol == "magnifyingglass") {
        drawMagnifyingGlass(painter, box);
    } else if (symbol == "xmark.circle.fill" || symbol == "plus.circle.fill" || symbol == "ellipsis.circle.fill" ||
               symbol == "pin.circle.fill" || symbol == "minus.circle.fill") {
        drawDiscWithMark(painter, box, symbol.substr(0, symbol.find('.')));
    } else if (symbol == "pin.fill") {
        drawPin(painter, box);
    } else if (symbol == "chevron.backward" || symbol == "chevron.forward") {
        drawChevron(painter, box, symbol == "chevron.forward");
    } else if (symbol == "folder") {
        drawFolder(painter, box);
    } else if (symbol == "minus.circle") {
        drawMinusCircle(painter, box);
    } else if (symbol == "plus" || symbol == "minus") {
        drawPlainMark(painter, box, symbol == "plus");
    } else if (symbol.starts_with("rectangle.") && symbol.ends_with("third.inset.filled")) {
        const std::string_view edge = symbol.substr(10, symbol.size() - 10 - 18);
        drawScreenThird(painter, box, edge);
    } else {
        drawDashedAppWithQuestion(painter, box);
    }
    painter.restore();
}

}  // namespace

QStringList themeNamesOfSymbol(std::string_view symbol) {
    QStringList names;
    for (const SymbolNames& entry : kSymbols) {
        if (entry.symbol != symbol) continue;
        for (const char* name : entry.themeNames)
            names << QString::fromLatin1(name);
    }
    return names;
}

QIcon symbolIcon(std::string_view symbol) {
    const QIcon icon = themeIcon(symbol);
    if (!icon.isNull()) return icon;
    QIcon drawn;
    for (const int side : {16, 24, 32}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paintDrawn(painter, QRectF(0, 0, side, side), symbol, QColor());
        painter.end();
        drawn.addPixmap(pixmap);
    }
    return drawn;
}

void paintSymbol(QPainter& painter, const QRectF& box, std::string_view symbol, const QColor& color) {
    const QIcon icon = themeIcon(symbol);
    if (!icon.isNull()) {
        paintThemeIcon(painter, box, icon, color);
    } else {
        paintDrawn(painter, box, symbol, color);
    }
}

QIcon symbolIcon(std::string_view symbol, const QColor& color, int side, qreal devicePixelRatio) {
    QPixmap picture(QSize(side, side) * devicePixelRatio);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    paintSymbol(painter, QRectF(0, 0, side, side), symbol, color);
    painter.end();
    return QIcon(picture);
}

}  // namespace quillbern
