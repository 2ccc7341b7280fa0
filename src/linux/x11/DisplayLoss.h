#pragma once

#include <functional>

#include "linux/process/UnplannedExit.h"

namespace quillbern {

// Qt ends the process with exit(1) when its connection to the X server breaks. While a
// DisplayLoss lives, that end first runs `onLost`, on the main thread Qt exits from, with
// every object of the program still in place; then the process ends at once
// (UnplannedExit), its status still 1.
class DisplayLoss {
public:
    explicit DisplayLoss(std::function<void()> onLost);

private:
    UnplannedExit exit_;
};

}  // namespace quillbern
