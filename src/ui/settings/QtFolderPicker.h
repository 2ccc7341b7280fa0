#pragma once

#include "core/platform/FolderPicker.h"

namespace quillbern {

// Qt's own folder dialog (the same on every desktop, and one that can take several folders),
// modal to the window that has the focus and open while the program goes on.
class QtFolderPicker final : public FolderPicker {
public:
    void chooseFolders(const FolderPickerOptions& options,
                       std::function<void(std::optional<std::vector<Path>>)> done) override;
};

}  // namespace quillbern
