#include "core/settings/SliderScale.h"

#include <algorithm>
#include <cmath>

namespace quillbern {

double SliderScale::value(int position) const {
    return static_cast<double>(first + step * std::clamp(position, 0, last)) / divisor;
}

int SliderScale::position(double value) const {
    const double steps = (value * divisor - first) / step;
    if (!(steps > 0)) return 0;  // NaN too
    if (steps >= last) return last;
    return static_cast<int>(std::lround(steps));
}

}  // namespace quillbern
