#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/Alerts.h"
#include "core/platform/FileSystem.h"
#include "core/platform/Launcher.h"

namespace quillbern {

// One dropped item that could not be moved to the Trash, and why.
struct TrashFailure {
    Path path;
    std::string reason;
    bool operator==(const TrashFailure&) const = default;
};

// The alert that tells which of the `total` dropped items stayed where they were: the
// first by name, the others counted; whether the rest went to the Trash; and the offer to
// show the failed ones ("Show in File Manager", then "OK"). None when nothing failed.
std::optional<AlertSpec> trashFailureAlert(const std::vector<TrashFailure>& failures, std::size_t total);

// Moves the items dropped on a Trash tile to the Trash, one by one in their order; an item
// that cannot be moved, or that already lies in a Trash, stays and is logged, and the drop
// goes on. When any failed, one beep
// and one alert for the whole drop, whose first button selects every failed item in the
// file manager. Main thread; returns once the alert is dismissed.
void moveDroppedToTrash(const std::vector<Path>& paths, FileSystem& files, Alerts& alerts, Launcher& launcher);

}  // namespace quillbern
