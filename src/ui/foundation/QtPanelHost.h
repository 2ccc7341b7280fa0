#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "core/foundation/Subscription.h"
#include "core/platform/PanelHost.h"
#include "core/platform/ScreenGeometry.h"

class QWidget;

namespace quillbern {

class FrameClock;
class KeyboardLayout;
class SystemAppearance;

// Panels as FloatingPanel windows, and SearchPanel windows for those that take the
// keyboard. Frames convert between screen space and the desktop's coordinates through the
// given source, so they follow the current primary display; panels are cut to their
// outlines while no compositing manager runs. Unmanaged panels stand over every window the
// window manager stacks, below our panels of higher levels, and take their places again
// whenever it restacks (the notices `restacks` subscribes to); under a window manager that
// keeps unmanaged windows over all others, those below the docks are managed instead. The
// panels animate on the frame clock, whose frames, like every repaint of a panel, wait for
// the X server's answer.
class QtPanelHost final : public PanelHost {
public:
    QtPanelHost(FrameClock& frames, std::function<DesktopSpace()> desktopSpace, SystemAppearance& system,
                const KeyboardLayout& layout, const std::function<Subscription(Task)>& restacks = {});
    ~QtPanelHost() override;

    std::unique_ptr<Panel> createPanel(const PanelStyle& style, RectBL frame, PanelContent content) override;
    // Every top-level widget of the program, front to back; a panel of ours carries its level.
    std::vector<OwnWindow> ownWindows() const override;
    // The serial of the open panel whose native window this is.
    std::optional<std::uint64_t> panelOfWindow(std::uint32_t window) const;
    // The window of an open panel of this host; null for any other.
    QWidget* windowOf(const Panel& panel) const;

    struct Shared;

private:
    FrameClock& frames_;
    SystemAppearance& system_;
    const KeyboardLayout& layout_;
    std::shared_ptr<Shared> shared_;
    std::uint64_t lastSerial_ = 0;
    Subscription systemObserver_;
    Subscription restackObserver_;
};

}  // namespace quillbern
