#pragma once

#include <optional>
#include <vector>

#include "core/platform/FolderPicker.h"

namespace quillbern {

// A folder chooser a test answers as the user would, after looking at how it was opened.
class SimFolderPicker final : public FolderPicker {
public:
    void chooseFolders(const FolderPickerOptions& options,
                       std::function<void(std::optional<std::vector<Path>>)> done) override {
        opened_ = options;
        done_ = std::move(done);
    }

    bool isOpen() const { return static_cast<bool>(done_); }
    // How the chooser was last opened.
    const std::optional<FolderPickerOptions>& lastOptions() const { return opened_; }
    // The user confirms these folders; none cancels.
    void answer(std::optional<std::vector<Path>> folders) {
        auto done = std::move(done_);
        done_ = nullptr;
        if (done) done(std::move(folders));
    }

private:
    std::optional<FolderPickerOptions> opened_;
    std::function<void(std::optional<std::vector<Path>>)> done_;
};

}  // namespace quillbern
