#include "dock/DockTestWorld.h"

namespace quillbern::testing {

std::vector<ScreenInfo> twoScreens() {
    return {simDisplay(kLeft, "16-1-11", {0, 0, 1920, 1080}, {0, 0, 1920, 1050}),
            simDisplay(kRight, "16-2-22", {1920, 0, 1280, 1024}, {1920, 0, 1280, 1024})};
}

DisplayAssignment onDisplay(const std::string& stableId) {
    return DisplayAssignment::display(stableId, "Monitor");
}

}  // namespace quillbern::testing
