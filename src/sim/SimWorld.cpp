#include "sim/SimWorld.h"

namespace quillbern {

SimWorld::SimWorld() {
    mainLoop.setIsMainLoop(true);
}

AXWorker::Ports SimWorld::workerPorts() {
    return {.threads = threads,
            .access = windows,
            .windowList = windows,
            .screens = screens,
            .permissions = permissions,
            .input = input,
            .clock = clock};
}

WindowEngine::Ports SimWorld::enginePorts() {
    return {.worker = workerPorts(), .apps = apps, .session = session, .screens = screens, .mainLoop = mainLoop};
}

PinnedStore::Ports SimWorld::pinnedPorts(const Icons& shownIcons) {
    return {.defaults = defaults,
            .clock = clock,
            .mainLoop = mainLoop,
            .uuids = uuids,
            .text = text,
            .alerts = alerts,
            .apps = apps,
            .catalog = catalog,
            .launcher = launcher,
            .files = files,
            .icons = shownIcons};
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
