#pragma once

#include <QPainterPath>
#include <QWidget>
#include <optional>
#include <vector>

#include "core/foundation/Subscription.h"
#include "core/platform/EasedValue.h"
#include "core/platform/FrameTicker.h"
#include "core/windows/PreviewContent.h"
#include "core/windows/WindowInfo.h"
#include "ui/foundation/OutlinedView.h"

namespace quillbern {

// The hover preview's card at the foot of its panel, drawn from the preview store: the
// hovered window's picture once the store has one of that very window, else its
// application's icon (a window symbol for a process that is gone), and under it the
// window's title, or its application's name when it has none. Nothing while no window is
// hovered. The card fades in and out.
class PreviewCardView final : public QWidget, public OutlinedView {
    Q_OBJECT
public:
    static constexpr Animation kFade{0.12, AnimationCurve::easeOut};
    static constexpr double kCornerRadius = 12;
    static constexpr double kPictureCornerRadius = 6;
    static constexpr double kPadding = 8;
    static constexpr double kSpacing = 6;
    static constexpr double kBottomGap = 2;
    static constexpr double kIconSide = 56;
    static constexpr double kIconMargin = 18;

    PreviewCardView(PreviewContent content, FrameClock& frames, QWidget* parent);

    QPainterPath outline() const override;

    // What the card shows, in the view's coordinates; none without a card.
    struct Card {
        QRectF frame;
        QRectF picture;
        // The window's own picture, not an icon.
        bool isCapture = false;
        ImageHandle image;
        QString label;
    };
    std::optional<Card> card() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void hoverChanged();
    MediaTime now() const;

    PreviewContent content_;
    // The window drawn; kept while its card fades out.
    std::optional<WindowInfo> shown_;
    EasedValue opacity_;
    FrameTicker ticker_;
    std::vector<Subscription> observers_;
};

}  // namespace quillbern
