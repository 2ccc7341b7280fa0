#pragma once

#include <functional>
#include <vector>

#include "core/platform/MenuModel.h"
#include "core/windows/WindowEngine.h"

namespace quillbern {

// Brings a window forward for a tile: the raise is posted to the window worker (which
// restores a minimised window first) and never waited for; then the engine's raise hook
// hears of it. Without a worker only the hook runs.
void requestRaise(WindowEngine& engine, const WindowInfo& window);

// The rows that begin an application tile's menu, one per window: the shown windows in
// the order given, then, after a separator, the minimised ones beside their symbol. A
// row is titled by its window, or by its application when the window has no title.
// Choosing a row calls onRaise first, then raises the window.
std::vector<MenuItem> windowMenuItems(const std::vector<WindowInfo>& windows, WindowEngine& engine,
                                      std::function<void(const WindowInfo&)> onRaise);

}  // namespace quillbern
