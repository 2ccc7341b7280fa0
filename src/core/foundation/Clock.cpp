#include "core/foundation/Clock.h"

#include <chrono>

namespace quillbern {

WallTime SystemClock::wallNow() const {
    using namespace std::chrono;
    return {duration<double>(system_clock::now().time_since_epoch()).count()};
}

MediaTime SystemClock::mediaNow() const {
    using namespace std::chrono;
    return {duration<double>(steady_clock::now().time_since_epoch()).count()};
}

}  // namespace quillbern
