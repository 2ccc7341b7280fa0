#include "sim/SimWorld.h"

namespace quillbern {

SimWorld::SimWorld() {
    mainLoop.setIsMainLoop(true);
}

}  // namespace quillbern
