#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "dock/DockTestWorld.h"
#include "ui/dock/KnockGlintView.h"
#include "ui/windows/PreviewCardView.h"

namespace quillbern {
namespace {

using testing::DockTestWorld;

QImage render(QWidget& view) {
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    view.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

TEST(GlintView, DrawsAThinAccentLineAlongThePanelWithAFainterGlowBesideIt) {
    const Color accent{0.0, 0.4, 1.0, 1.0};
    KnockGlintView flat(GlintContent{false, accent}, nullptr);
    flat.resize(180, 16);
    const QImage image = render(flat);
    const QColor middle = image.pixelColor(90, 8);
    EXPECT_GT(middle.alpha(), 240);
    EXPECT_GT(middle.blue(), 200);
    const int glow = image.pixelColor(90, 4).alpha();
    EXPECT_GT(glow, 0);
    EXPECT_LT(glow, middle.alpha());
    EXPECT_EQ(image.pixelColor(90, 0).alpha(), 0) << "nothing beyond the glow";
    // Cut to the line where nothing blends.
    EXPECT_TRUE(flat.outline().contains(QPointF(90, 8)));
    EXPECT_FALSE(flat.outline().contains(QPointF(90, 4)));

    KnockGlintView upright(GlintContent{true, accent}, nullptr);
    upright.resize(16, 180);
    EXPECT_GT(render(upright).pixelColor(8, 90).alpha(), 240);
    EXPECT_EQ(render(upright).pixelColor(8, 90).alpha(), render(upright).pixelColor(8, 20).alpha());
}

class PreviewCard : public ::testing::Test {
protected:
    DockTestWorld w;
    std::unique_ptr<PreviewCardView> view;

    void SetUp() override {
        w.capture.setWindows({{7, {1200, 600}, 1}, {8, {1200, 600}, 1}});
        w.open({simDock(1, DockEdge::bottom)});
        w.previews->setEnabled(true);
        PreviewContent content;
        content.store = w.previews.get();
        content.appIcon = [this](Pid pid) { return pid == 40 ? icon : nullptr; };
        content.system = &w.world.appearance;
        content.mainLoop = &w.world.mainLoop;
        content.clock = &w.world.clock;
        view = std::make_unique<PreviewCardView>(content, w.world.frames, nullptr);
        view->resize(340, 250);
    }
    static WindowInfo window(WindowId id, std::string title, Pid pid = 40) {
        WindowInfo info;
        info.id = id;
        info.pid = pid;
        info.appName = "Editor";
        info.title = std::move(title);
        return info;
    }
    ImageHandle icon = std::make_shared<Image>();
};

TEST_F(PreviewCard, ShowsNothingWithoutAHoveredWindow) {
    EXPECT_FALSE(view->card());
    EXPECT_TRUE(view->outline().isEmpty());
}

TEST_F(PreviewCard, ShowsTheIconUntilThePictureOfThatVeryWindowArrivesThenThePictureAtTheFootOfThePanel) {
    w.previews->hover(window(7, "Notes"));
    std::optional<PreviewCardView::Card> card = view->card();
    ASSERT_TRUE(card);
    EXPECT_FALSE(card->isCapture);
    EXPECT_EQ(card->image, icon);
    EXPECT_EQ(card->label, "Notes");
    EXPECT_EQ(card->picture.size(), QSizeF(56, 56));
    EXPECT_EQ(card->frame.bottom(), 250 - PreviewCardView::kBottomGap);
    EXPECT_EQ(card->frame.center().x(), 170);

    w.world.advance(PreviewStore::kCaptureDelay);
    card = view->card();
    ASSERT_TRUE(card->isCapture);
    EXPECT_EQ(card->image, w.previews->current()->image.image);
    // Twice as wide as high, as wide as the panel allows.
    EXPECT_EQ(card->picture.width(), 340 - 2 * PreviewCardView::kPadding);
    EXPECT_DOUBLE_EQ(card->picture.width(), 2 * card->picture.height());

    // The picture left from window 7 is never shown for window 8.
    w.previews->hover(window(8, "Other"));
    EXPECT_FALSE(view->card()->isCapture);
}

TEST_F(PreviewCard, LabelsAWindowWithoutATitleByItsApplicationAndShortensALongTitleInTheMiddle) {
    w.previews->hover(window(7, ""));
    EXPECT_EQ(view->card()->label, "Editor");
    const std::string longTitle(200, 'x');
    w.previews->hover(window(8, longTitle + "END"));
    const QString label = view->card()->label;
    EXPECT_LT(label.size(), 200);
    EXPECT_TRUE(label.contains(QChar(0x2026)));
    EXPECT_TRUE(label.endsWith("END"));
}

TEST_F(PreviewCard, AWindowOfAProcessThatIsGoneHasNoIconAndTheCardFadesWhenTheHoverEnds) {
    w.previews->hover(window(7, "Notes", 99));
    EXPECT_EQ(view->card()->image, nullptr);
    w.previews->hover(std::nullopt);
    w.world.advance(PreviewStore::kHideDelay);
    EXPECT_TRUE(view->card()) << "drawn while it fades";
    const QImage fading = render(*view);
    w.world.advance(PreviewCardView::kFade.duration);
    const QImage gone = render(*view);
    const QPoint middle = view->card()->frame.center().toPoint();
    EXPECT_GT(fading.pixelColor(middle).alpha(), 0);
    EXPECT_EQ(gone.pixelColor(middle).alpha(), 0);
}

}  // namespace
}  // namespace quillbern
