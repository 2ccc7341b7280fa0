#pragma once

namespace quillbern {

// A slider over the whole positions 0...last, position i standing for
// (first + step × i) / divisor. Values are made from integers, so none drifts off its step
// the way 0.15 + 3 × 0.05 does (0.30000000000000004).
struct SliderScale {
    int first;
    int step;
    int last;
    int divisor = 1;

    double value(int position) const;
    // The position nearest to a value, within the slider; a value off the steps keeps its
    // own readout there.
    int position(double value) const;
};

}  // namespace quillbern
