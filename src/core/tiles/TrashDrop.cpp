#include "core/tiles/TrashDrop.h"

#include "core/foundation/Localization.h"
#include "core/foundation/Log.h"
#include "core/foundation/Paths.h"
#include "core/foundation/Utf8.h"

namespace quillbern {

namespace {

std::string shownName(const Path& path) {
    return replacingInvalidUtf8(lastPathComponent(path));
}

}  // namespace

std::optional<AlertSpec> trashFailureAlert(const std::vector<TrashFailure>& failures, std::size_t total) {
    if (failures.empty()) return std::nullopt;
    const std::size_t count = failures.size();
    const bool othersMoved = total > count;
    const TrashFailure& first = failures.front();
    AlertSpec alert;
    alert.style = AlertSpec::Style::warning;
    alert.floating = true;
    alert.buttons = {tr("Show in File Manager"), tr("OK")};
    if (count == 1) {
        alert.message = trf("Couldn't move “%@” to the Trash", shownName(first.path));
        alert.informative =
            othersMoved ? trf("%@\n\nThis one has not moved; the others went to the Trash.", first.reason)
                        : trf("%@\n\nThe file has not moved — it is still where you dragged it from.", first.reason);
    } else {
        alert.message = trn("Couldn't move %lld item to the Trash", "Couldn't move %lld items to the Trash",
                            static_cast<long long>(count), count);
        alert.informative =
            othersMoved
                ? trf("The first was “%@”: %@\n\nThese ones have not moved; the rest went to the Trash.",
                      shownName(first.path), first.reason)
                : trf("The first was “%@”: %@\n\nNothing has moved — the items are still where you dragged them from.",
                      shownName(first.path), first.reason);
    }
    return alert;
}

void moveDroppedToTrash(const std::vector<Path>& paths, FileSystem& files, Alerts& alerts, Launcher& launcher) {
    std::vector<TrashFailure> failures;
    for (const Path& path : paths) {
        // Trashed again, it would take a new name and lose the record of where it came from.
        const Result<void> moved = files.isInTrash(path)
                                       ? Result<void>(Error{tr("It is already in the Trash."), "quillbern", 0})
                                       : files.moveToTrash(path);
        if (moved.ok()) continue;
        failures.push_back({path, moved.error().message});
        log("could not trash ", escapedForLog(path), " — ", escapedForLog(moved.error().message));
    }
    const std::optional<AlertSpec> alert = trashFailureAlert(failures, paths.size());
    if (!alert) return;
    alerts.beep();
    if (alerts.runModal(*alert) != 0) return;
    std::vector<Path> failed;
    for (const TrashFailure& failure : failures)
        failed.push_back(failure.path);
    launcher.reveal(failed);
}

}  // namespace quillbern
