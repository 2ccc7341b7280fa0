#pragma once

#include "core/platform/FolderEvents.h"

namespace quillbern {

// Folder watches on inotify, read on the main thread's event loop. Each watch has an
// inotify instance of its own, so that two watches of one folder never share (and remove)
// one kernel watch. It holds the folder by an O_PATH descriptor, which follows the folder
// across moves. Holding it delays the kernel's own report of the folder's deletion until
// the descriptor is closed, so deletion is told from the folder's link count, checked
// whenever its parent loses an entry of the folder's name and after every report.
class LinuxFolderEvents final : public FolderEvents {
public:
    std::unique_ptr<FolderWatch> watch(const Path& folder, std::function<void(std::uint32_t)> onChange) override;
};

}  // namespace quillbern
