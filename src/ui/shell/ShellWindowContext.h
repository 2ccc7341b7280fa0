#pragma once

#include <QRect>
#include <functional>

#include "core/foundation/FilledByName.h"
#include "core/foundation/Geometry.h"
#include "core/platform/InputState.h"
#include "core/platform/ScreenGeometry.h"
#include "core/platform/Screens.h"

class QWidget;

namespace quillbern {

// What the program's ordinary windows need around them: where the user works, and the
// commands their keys give.
struct ShellWindowContext {
    [[no_unique_address]] FilledByName<ShellWindowContext> byName{};
    const Screens& screens;
    const InputState& input;
    // Where the primary display stands in the desktop's coordinates.
    std::function<DesktopSpace()> desktopSpace;
    std::function<void()> openSettings;
    std::function<void()> quit;
};

// The keys every window of ours answers, Ctrl standing for the Command of other desktops:
// Ctrl+, opens Settings, Ctrl+W closes the window and Ctrl+Q quits. Editing keys work in
// text fields as they are.
void installWindowKeys(QWidget& window, const ShellWindowContext& context);

// A frame in screen space as the desktop's rectangle, for a window's content.
QRect desktopRect(const ShellWindowContext& context, const RectBL& frame);

// Shows the window in front of every other application's, on the desktop the user is on.
void bringForward(QWidget& window);

}  // namespace quillbern
