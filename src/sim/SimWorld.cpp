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

}  // namespace quillbern
