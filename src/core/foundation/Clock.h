#pragma once

#include "core/foundation/Time.h"

namespace quillbern {

// The only source of "now" in the core; tests substitute a virtual clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual WallTime wallNow() const = 0;    // any thread
    virtual MediaTime mediaNow() const = 0;  // any thread
};

class SystemClock final : public Clock {
public:
    WallTime wallNow() const override;
    MediaTime mediaNow() const override;
};

}  // namespace quillbern
