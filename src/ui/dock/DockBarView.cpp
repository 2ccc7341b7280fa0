#include "ui/dock/DockBarView.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "core/model/AppearanceStore.h"
#include "core/model/PinnedStore.h"
#include "core/platform/SystemAppearance.h"
#include "ui/foundation/QtIcons.h"
#include "ui/model/BarBackground.h"

namespace quillbern {

namespace {

constexpr double kCellGap = 8;

// A letter on a rounded square, where the icon theme has nothing for the item.
void paintPlaceholder(QPainter& painter, const QRectF& box, const QString& name) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x5e, 0x81, 0xac));
    painter.drawRoundedRect(box, box.width() * 0.22, box.width() * 0.22);
    QFont font = painter.font();
    font.setPixelSize(std::max(8, int(box.height() * 0.5)));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, name.left(1).toUpper());
    painter.restore();
}

// An application's icon from the store; folders and the Trash from the icon theme.
QIcon itemIcon(PinnedStore& pinned, const PinnedItem& item) {
    if (const PinnedApp* app = item.app()) return qIcon(pinned.icon(*app));
    if (item.trash()) return QIcon::fromTheme(QStringLiteral("user-trash"));
    return QIcon::fromTheme(QStringLiteral("folder"));
}

QString itemName(const PinnedItem& item) {
    if (const PinnedApp* app = item.app()) return QString::fromStdString(app->name);
    if (const PinnedLocation* location = item.location()) return QString::fromStdString(location->name);
    if (const PinnedFolder* folder = item.folder()) return QString::fromStdString(folder->name);
    return QStringLiteral("Trash");
}

}  // namespace

DockBarView::DockBarView(DockContent content, QWidget* parent) : QWidget(parent), content_(content) {
    setAttribute(Qt::WA_TranslucentBackground);
    profilesObserver_ = content_.pinned->profilesChanged.connect([this] { update(); });
    appearanceObserver_ = content_.appearance->changed.connect([this] {
        outlineChanged(*this);  // the corner radius may have changed
        update();
    });
    // A compositing manager that starts or stops changes how the bar is filled.
    systemObserver_ = content_.system->onChanged([this] { update(); });
}

QPainterPath DockBarView::outline() const {
    return background().outline(QRectF(rect()));
}

BarBackground DockBarView::background() const {
    const AppearanceStore& look = *content_.appearance;
    return {look.material(), look.cornerRadius(), look.reduceTransparency()};
}

void DockBarView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    background().paint(painter, QRectF(rect()), BackgroundPalette::current(content_.system->hasCompositor()));
    if (const std::optional<Profile> profile = content_.pinned->profile(content_.profile))
        paintItems(painter, *profile);
}

void DockBarView::paintItems(QPainter& painter, const Profile& profile) {
    const AppearanceStore& look = *content_.appearance;
    const bool horizontal = profile.edge == DockEdge::bottom || profile.edge == DockEdge::top;
    const double tile = look.tileSize();
    const double pitch = horizontal ? tile : tile - 12 + (look.showsLabels() ? 16 : 0);
    const double icon = std::min(tile, pitch);
    const auto count = static_cast<double>(profile.items.size());
    const double strip = count * pitch + std::max(count - 1, 0.0) * kCellGap;
    const double along = horizontal ? width() : height();
    const double across = horizontal ? height() : width();
    double cellStart = (along - strip) / 2;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const PinnedItem& item : profile.items) {
        const double alongCentre = cellStart + pitch / 2;
        const QPointF centre = horizontal ? QPointF(alongCentre, across / 2) : QPointF(across / 2, alongCentre);
        const QRectF box(centre.x() - icon / 2, centre.y() - icon / 2, icon, icon);
        const QIcon image = itemIcon(*content_.pinned, item);
        if (image.isNull()) {
            paintPlaceholder(painter, box, itemName(item));
        } else {
            image.paint(&painter, box.toAlignedRect());
        }
        cellStart += pitch + kCellGap;
    }
}

}  // namespace quillbern
