#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/foundation/Geometry.h"
#include "core/foundation/Signal.h"

namespace quillbern {

// What one screen's placement overlay draws: the ghost cells in the overlay's own
// coordinates (top-left origin), the one a drop would take, and the notice of a full
// workspace. Assigning an equal value stores it silently, so an idle pointer redraws nothing.
class WorkspacePreviewHolder {
public:
    const std::vector<Rect>& cellFrames() const { return cellFrames_; }
    std::optional<std::size_t> highlighted() const { return highlighted_; }
    const std::optional<std::string>& fullNotice() const { return fullNotice_; }

    void setCellFrames(std::vector<Rect> frames);
    void setHighlighted(std::optional<std::size_t> index);
    void setFullNotice(std::optional<std::string> notice);

    // After each real change of one field. Views observe a holder they only read.
    mutable Signal<> changed;

private:
    std::vector<Rect> cellFrames_;
    std::optional<std::size_t> highlighted_;
    std::optional<std::string> fullNotice_;
};

}  // namespace quillbern
