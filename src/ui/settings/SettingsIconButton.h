#pragma once

#include <QAbstractButton>

#include "ui/settings/SettingsTheme.h"

namespace quillbern {

// What the kit's icon-only buttons share: the help text as tooltip and accessible name,
// hover followed by the pointer and eased, a place in the Tab order and a focus ring.
class SettingsIconButton : public QAbstractButton {
public:
    SettingsIconButton(const QString& help, QWidget* parent = nullptr);

    bool isHovering() const { return hovering_; }

protected:
    // From 0 idle to 1 hovered.
    double hoverFraction() const { return hover_.value(); }
    void paintFocusRing(QPainter& painter, const QRectF& shape, double radius) const;

    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool hovering_ = false;
    EasedFraction hover_;
};

}  // namespace quillbern
