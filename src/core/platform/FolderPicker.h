#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/Types.h"

namespace quillbern {

struct FolderPickerOptions {
    // The chooser's title: what the folders are for.
    std::string title;
    // None: the chooser's own choice.
    std::optional<Path> startDirectory;
    // The title of the button that confirms.
    std::string prompt;
    bool allowsMultiple = true;
};

// Lets the user choose folders, over the window that has the focus, without holding up the
// program while the chooser is open. Main thread.
class FolderPicker {
public:
    virtual ~FolderPicker() = default;

    // `done` runs once on the main thread with the chosen folders in the order chosen, or
    // none when the user cancelled. Paths are handed over as the chooser gives them.
    virtual void chooseFolders(const FolderPickerOptions& options,
                               std::function<void(std::optional<std::vector<Path>>)> done) = 0;
};

}  // namespace quillbern
