#pragma once

#include "core/foundation/Time.h"
#include "core/platform/PanelHost.h"

namespace quillbern {

// A number of a view that eases to each new target over a given time, read at any moment
// against the media clock; the view redraws while it moves.
class EasedValue {
public:
    explicit EasedValue(double value = 0) : from_(value), to_(value) {}

    // Starts from wherever the value stands at `now`; an unchanged target keeps its course.
    void animateTo(double target, Animation animation, MediaTime now);
    // At once, without easing.
    void set(double value);

    double value(MediaTime now) const;
    double target() const { return to_; }
    bool isMoving(MediaTime now) const;

private:
    double from_;
    double to_;
    MediaTime start_{};
    Animation animation_{};
};

}  // namespace quillbern
