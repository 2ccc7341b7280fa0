#include "sim/SimWorld.h"

namespace quillbern {

SimWorld::SimWorld() {
    mainLoop.setIsMainLoop(true);
}

AXWorker::Ports SimWorld::workerPorts() {
    return {threads, windows, windows, screens, permissions, input, clock};
}

WindowEngine::Ports SimWorld::enginePorts() {
    return {workerPorts(), apps, session, screens, mainLoop};
}

}  // namespace quillbern
