#include <benchmark/benchmark.h>

#include "core/palettes/ShortcutSheetController.h"
#include "core/shortcuts/HotKeyBindings.h"
#include "sim/SimDockWorld.h"

using namespace quillbern;

namespace {

// Ten docks and every feature shortcut registered, two displays, the pointer on the second.
struct SheetWorld : SimDockWorld {
    SheetWorld() {
        world.screens.setScreens({simDisplay(1, "16-1", {0, 0, 1920, 1080}, {0, 0, 1920, 1050}),
                                  simDisplay(2, "16-2", {1920, 0, 1920, 1080}, {1920, 0, 1920, 1080})});
        std::vector<Profile> docks;
        for (int n = 1; n <= 10; ++n)
            docks.push_back(simDock(n, DockEdge::bottom));
        open(docks);
        for (const HotKeyBinding& binding : HotKeyBindings::resolve(pinned().profiles(), {}, true))
            registered.emplace(binding.action, binding.chord);
        world.input.setPointer({2500, 500});
        world.paletteViews.setFittingSize({420, 560});
    }

    RegisteredChords registered;
};

// The core's part of opening the shortcut sheet: the screen, the list with its chord
// texts, measuring, placing, the panel made key and the click monitors; then its dismissal.
void ShortcutSheetShowAndDismiss(benchmark::State& state) {
    SheetWorld w;
    ShortcutSheetController sheet(
        {.palette = w.world.palettePorts(), .layout = w.world.keyboardLayout, .text = w.world.text}, w.pinned(),
        [&w] { return w.registered; });
    for (auto _ : state) {
        sheet.show();
        sheet.dismiss();
    }
    state.counters["rows"] = static_cast<double>(w.world.paletteViews.lastBuilt()->sheetRows.size());
}
// The simulated panel host keeps every panel it made: a bounded run keeps that small.
BENCHMARK(ShortcutSheetShowAndDismiss)->Unit(benchmark::kMicrosecond)->Iterations(5000);

}  // namespace
