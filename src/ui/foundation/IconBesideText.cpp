#include "ui/foundation/IconBesideText.h"

#include <QAbstractButton>
#include <QIcon>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <cmath>

namespace quillbern {

namespace {

// Room between the icon and the text, besides the toolkit's own.
constexpr int kIconToText = 4;

// The icon with room on the side of the text, drawn from the icon at each paint.
class SpacedIconEngine final : public QIconEngine {
public:
    SpacedIconEngine(QIcon icon, int side, bool textOnLeft)
        : icon_(std::move(icon)), side_(side), textOnLeft_(textOnLeft) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const int gap = int(std::lround(double(rect.height()) * kIconToText / side_));
        icon_.paint(painter, rect.adjusted(textOnLeft_ ? gap : 0, 0, textOnLeft_ ? 0 : -gap, 0), Qt::AlignCenter, mode,
                    state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap picture(size);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        paint(&painter, picture.rect(), mode, state);
        return picture;
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new SpacedIconEngine(icon_, side_, textOnLeft_); }

private:
    QIcon icon_;
    int side_;
    bool textOnLeft_;
};

}  // namespace

void setIconBesideText(QAbstractButton& button, const QIcon& icon) {
    const int side = button.iconSize().height();
    const bool textOnLeft = button.layoutDirection() == Qt::RightToLeft;
    button.setIcon(QIcon(new SpacedIconEngine(icon, side, textOnLeft)));
    button.setIconSize(QSize(side + kIconToText, side));
}

}  // namespace quillbern
