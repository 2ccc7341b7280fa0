#include "sim/SimWorld.h"

namespace quillbern {

AXWorker::Ports SimWorld::workerPorts() {
    return {.threads = threads,
            .access = windows,
            .windowList = windows,
            .screens = screens,
            .permissions = permissions,
            .input = input,
            .clock = clock};
}

WindowEngine::Ports SimWorld::enginePorts(SessionEvents& sessionEvents) {
    return {.worker = workerPorts(), .apps = apps, .session = sessionEvents, .screens = screens, .mainLoop = mainLoop};
}

PalettePorts SimWorld::palettePorts() {
    return {.panels = panels,
            .views = paletteViews,
            .screens = screens,
            .input = input,
            .events = events,
            .mainLoop = mainLoop};
}

}  // namespace quillbern
