#include "sim/SimStoreBackends.h"

namespace quillbern {

SimStoreBackends::SimStoreBackends() {
    mainLoop.setIsMainLoop(true);
}

PinnedStore::Ports SimStoreBackends::pinnedPorts(Defaults& defaults, const Icons& shownIcons) {
    return pinnedPorts(defaults, shownIcons, {.mainLoop = mainLoop, .clock = clock, .apps = apps, .catalog = catalog});
}

PinnedStore::Ports SimStoreBackends::pinnedPorts(Defaults& defaults, const Icons& shownIcons, Desktop desktop) {
    return {.defaults = defaults,
            .clock = desktop.clock,
            .mainLoop = desktop.mainLoop,
            .uuids = uuids,
            .text = text,
            .alerts = alerts,
            .apps = desktop.apps,
            .catalog = desktop.catalog,
            .launcher = launcher,
            .files = files,
            .icons = shownIcons};
}

}  // namespace quillbern
