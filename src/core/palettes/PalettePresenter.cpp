#include "core/palettes/PalettePresenter.h"

#include <algorithm>
#include <cmath>

#include "core/platform/ScreenGeometry.h"

namespace quillbern {

namespace {

// Room a palette leaves above and below itself at most.
constexpr double kHeightMargin = 80;
// Where a search palette's top edge stands, as a share of the visible height from its top.
constexpr double kSearchLine = 0.22;
constexpr MouseButtons kClicks = kLeftButton | kRightButton;

// A search palette never reaches below the visible frame.
double heldAboveBottom(double y, const RectBL& visibleFrame, PalettePlacement placement) {
    return placement == PalettePlacement::searchLine ? std::max(y, visibleFrame.minY()) : y;
}

}  // namespace

Size paletteSize(Size fitting, const ScreenInfo& screen) {
    return {fitting.width, std::min(fitting.height, screen.visibleFrame.height - kHeightMargin)};
}

RectBL paletteFrame(Size size, const RectBL& visibleFrame, PalettePlacement placement) {
    const double x = std::round(visibleFrame.midX() - size.width / 2);
    double y = 0;
    switch (placement) {
        case PalettePlacement::searchLine:
            y = std::round(visibleFrame.maxY() - kSearchLine * visibleFrame.height) - size.height;
            break;
        case PalettePlacement::centred:
            y = std::round(visibleFrame.midY() - size.height / 2);
            break;
    }
    return {x, heldAboveBottom(y, visibleFrame, placement), size.width, size.height};
}

RectBL relaidPaletteFrame(Size size, const RectBL& current, const RectBL& visibleFrame, PalettePlacement placement) {
    const double x = std::round(current.midX() - size.width / 2);
    const double y = current.maxY() - size.height;
    return {x, heldAboveBottom(y, visibleFrame, placement), size.width, size.height};
}

RectBL recentredPaletteFrame(Size size, const RectBL& current) {
    return {std::round(current.midX() - size.width / 2), std::round(current.midY() - size.height / 2), size.width,
            size.height};
}

PalettePresenter::PalettePresenter(PalettePorts ports, PalettePlacement placement, Task dismiss, PaletteOptions options)
    : ports_(ports), placement_(placement), dismiss_(std::move(dismiss)), options_(std::move(options)) {}

PalettePresenter::~PalettePresenter() {
    dismiss();
}

std::optional<ScreenInfo> PalettePresenter::screenForShowing() const {
    const std::vector<ScreenInfo> screens = ports_.screens.screens();
    if (const ScreenInfo* under = screenContaining(ports_.input.pointerNow(), screens)) return *under;
    if (std::optional<ScreenInfo> main = ports_.screens.mainScreen()) return main;
    if (!screens.empty()) return screens.front();
    return std::nullopt;
}

void PalettePresenter::present(const ScreenInfo& screen, std::shared_ptr<PaletteView> view, PanelKeyHandlers keys) {
    view_ = std::move(view);
    const RectBL frame = paletteFrame(sizeOn(screen), screen.visibleFrame, placement_);
    PanelStyle style;
    style.level = PanelLevel::palette;
    style.takesKeyFocus = true;
    style.withoutKeyEquivalents = options_.withoutKeyEquivalents;
    panel_ = ports_.panels.createPanel(style, frame, view_);
    keys.onResignKey = lifetime_.guard([this] {
        if (!isHeld() && !standsAside()) dismiss_();
    });
    panel_->setKeyHandlers(std::move(keys));
    panel_->makeKeyAndOrderFront();

    // Presses in other applications may arrive in the middle of anything: they act a turn later.
    globalClicks_ =
        ports_.events.onGlobalMouseDown(kClicks, onLoop(ports_.mainLoop, lifetime_.token(), [this](const MouseDown&) {
                                            if (isHeld()) {
                                                heldClickElsewhere_();
                                            } else if (!standsAside()) {
                                                dismiss_();
                                            }
                                        }));
    localClicks_ = ports_.events.onLocalMouseDown(kClicks, lifetime_.guard([this](const MouseDown& press) {
        if (options_.ignoresCommandClicks && (press.flags & kCommandFlag)) return;
        if (panel_ && press.ownPanel != panel_->serial() && !isHeld()) dismiss_();
    }));
}

void PalettePresenter::dismiss(const Task& teardown) {
    globalClicks_.reset();
    localClicks_.reset();
    if (teardown) teardown();
    // Out of the member first: whatever the closing sets off finds the palette hidden.
    std::unique_ptr<Panel> panel = std::move(panel_);
    view_.reset();
    if (!panel) return;
    panel->setKeyHandlers({});
    panel->orderOut();
}

void PalettePresenter::holdWhile(std::function<bool()> held, Task clickElsewhere) {
    held_ = std::move(held);
    heldClickElsewhere_ = std::move(clickElsewhere);
}

void PalettePresenter::standAsideWhile(std::function<bool()> asked) {
    standAside_ = std::move(asked);
}

void PalettePresenter::contentShapeChanged() {
    ports_.mainLoop.post(lifetime_.guard([this] { relayout(); }));
}

bool PalettePresenter::isShown() const {
    return panel_ && panel_->isVisible();
}

void PalettePresenter::relayout() {
    if (!panel_ || !view_) return;
    const RectBL current = panel_->frame();
    const std::vector<ScreenInfo> screens = ports_.screens.screens();
    std::optional<ScreenInfo> screen;
    // A palette moved off every screen comes back on the main one.
    if (const ScreenInfo* under = bestScreen(current, screens); under && under->frame.intersectsWithArea(current)) {
        screen = *under;
    } else {
        screen = ports_.screens.mainScreen();
    }
    if (!screen) return;
    const Size size = sizeOn(*screen);
    panel_->setFrame(options_.relayoutKeepsCentre
                         ? recentredPaletteFrame(size, current)
                         : relaidPaletteFrame(size, current, screen->visibleFrame, placement_));
}

Size PalettePresenter::sizeOn(const ScreenInfo& screen) const {
    const Size fitting = view_->fittingSize();
    return options_.size ? options_.size(fitting, screen) : paletteSize(fitting, screen);
}

}  // namespace quillbern
