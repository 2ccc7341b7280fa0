#pragma once

#include <memory>
#include <optional>

#include "core/foundation/Signal.h"
#include "core/platform/SystemAppearance.h"

namespace quillbern {

class CompositorPresence;

// Display preferences from the desktop's settings (GSettings schemas of GNOME and of
// desktops that share them), read where installed: reduce motion when animations are
// off, reduce transparency under high contrast, and the accent colour where the desktop
// has one, else the palette's highlight. Glass is never drawn on X11. Whether translucency
// blends follows the compositing manager; its start and stop are change notices too.
class LinuxSystemAppearance final : public SystemAppearance {
public:
    explicit LinuxSystemAppearance(CompositorPresence& compositing);
    ~LinuxSystemAppearance() override;
    LinuxSystemAppearance(const LinuxSystemAppearance&) = delete;
    LinuxSystemAppearance& operator=(const LinuxSystemAppearance&) = delete;

    bool reduceMotion() const override;
    bool reduceTransparency() const override;
    Color accentColor() const override;
    bool supportsGlass() const override { return false; }
    bool hasCompositor() const override;
    Subscription onChanged(Task onChange) override;

    // Called by the settings watchers.
    void settingsChanged();

private:
    // Read once and again at each change notice: every tile asks at every paint.
    struct Read {
        bool reduceMotion = false;
        bool reduceTransparency = false;
        std::optional<Color> accent;
    };
    void readSettings();

    struct Watched;
    std::unique_ptr<Watched> watched_;
    Read read_;
    const CompositorPresence& compositing_;
    Signal<> changed_;
    Subscription compositingObserver_;
};

}  // namespace quillbern
