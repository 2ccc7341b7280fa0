#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "core/foundation/Signal.h"
#include "core/platform/EventMonitors.h"

class QObject;

namespace quillbern {

class X11Connection;
class X11InputState;
class X11Screens;

// Global presses from the XInput2 raw events of X11InputState, told apart from presses on
// our own windows by the window under the pointer; local presses from a Qt event filter.
class X11EventMonitors final : public EventMonitors {
public:
    // Which of our panels a native window is, if any.
    using PanelOfWindow = std::function<std::optional<std::uint64_t>(std::uint32_t window)>;

    X11EventMonitors(X11Connection& connection, X11InputState& input, const X11Screens& screens,
                     PanelOfWindow panelOfWindow);
    ~X11EventMonitors() override;

    Subscription onGlobalMouseDown(MouseButtons buttons, std::function<void(const MouseDown&)> handler) override;
    Subscription onLocalMouseDown(MouseButtons buttons, std::function<void(const MouseDown&)> handler) override;

private:
    void globalPress(MouseButtons button);
    bool isOwnWindowUnderPointer(std::uint32_t topLevel) const;
    static Subscription add(Signal<const MouseDown&>& signal, MouseButtons buttons,
                            std::function<void(const MouseDown&)> handler);

    X11Connection& connection_;
    X11InputState& input_;
    const X11Screens& screens_;
    PanelOfWindow panelOfWindow_;
    Signal<const MouseDown&> global_;
    Signal<const MouseDown&> local_;
    Subscription presses_;
    std::unique_ptr<QObject> filter_;
};

}  // namespace quillbern
