#pragma once

#include <functional>

namespace quillbern {

// Qt ends the process with exit() when its connection to the X server breaks. While a
// DisplayLoss lives, that end first runs `onLost`, on the main thread Qt exits from, with
// every object of the program still in place. Other ways of ending are left alone.
class DisplayLoss {
public:
    explicit DisplayLoss(std::function<void()> onLost);
    ~DisplayLoss();
    DisplayLoss(const DisplayLoss&) = delete;
    DisplayLoss& operator=(const DisplayLoss&) = delete;
};

}  // namespace quillbern
