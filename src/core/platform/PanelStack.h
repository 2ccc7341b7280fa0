#pragma once

#include <cstdint>
#include <vector>

#include "core/platform/PanelHost.h"

namespace quillbern {

// The stacking order of our shown panels, bottom to top: ordering a panel front puts it
// on top of its own level, below every panel of a higher level.
class PanelStack {
public:
    void orderFront(std::uint64_t serial, PanelLevel level);
    void remove(std::uint64_t serial);
    // The panel and every panel above it, bottom to top: what a window system must raise,
    // in this order, to show the new stacking.
    std::vector<std::uint64_t> fromPanelUp(std::uint64_t serial) const;
    std::vector<std::uint64_t> bottomToTop() const;

private:
    struct Entry {
        std::uint64_t serial;
        PanelLevel level;
    };
    std::vector<Entry> entries_;
};

}  // namespace quillbern
