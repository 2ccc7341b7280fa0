#include "core/tiles/WindowMenuItems.h"

#include <algorithm>

#include "core/model/DockName.h"

namespace quillbern {

namespace {

constexpr const char* kMinimizedSymbol = "arrow.down.forward.square";
// Titles run long (a document, its folder, the application): past this many characters the
// menu would grow as wide as the screen.
constexpr std::size_t kLongestTitle = 60;

}  // namespace

void requestRaise(WindowEngine& engine, const WindowInfo& window) {
    if (AXWorker* worker = engine.worker()) worker->perform(WindowAction::raise(), window);
    if (engine.onRaiseRequest) engine.onRaiseRequest(window);
}

std::vector<MenuItem> windowMenuItems(const std::vector<WindowInfo>& windows, WindowEngine& engine,
                                      std::function<void(const WindowInfo&)> onRaise) {
    std::vector<MenuItem> rows;
    const auto row = [&](const WindowInfo& window) {
        MenuItem item;
        item.title = nameInText(window.title.empty() ? window.appName : window.title, kLongestTitle);
        if (window.isMinimized) item.symbol = kMinimizedSymbol;
        item.action = [&engine, onRaise, window] {
            if (onRaise) onRaise(window);
            requestRaise(engine, window);
        };
        rows.push_back(std::move(item));
    };
    for (const WindowInfo& window : windows) {
        if (!window.isMinimized) row(window);
    }
    if (std::ranges::any_of(windows, &WindowInfo::isMinimized)) rows.push_back(MenuItem::separator());
    for (const WindowInfo& window : windows) {
        if (window.isMinimized) row(window);
    }
    return rows;
}

}  // namespace quillbern
