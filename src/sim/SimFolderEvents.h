#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "core/platform/FolderEvents.h"

namespace quillbern {

// Watches that report only what the test makes happen: changes of a folder's items, its
// move to another path, its deletion. Tests refuse folders, as a missing or forbidden one
// is refused, and count what was opened and let go.
class SimFolderEvents final : public FolderEvents {
public:
    SimFolderEvents();

    std::unique_ptr<FolderWatch> watch(const Path& folder, std::function<void(std::uint32_t)> onChange) override;

    void refuse(const Path& folder);
    // Reports the change to every live watch of the folder, by the path it was opened with.
    // A rename moves the watches to `newPath` (none: the new path cannot be read); a
    // deletion leaves them without a path.
    void emit(const Path& folder, std::uint32_t changes, std::optional<Path> newPath = std::nullopt);

    int watchCount(const Path& folder) const;
    int openCount() const { return opens_; }
    int closeCount() const { return registry_->closes; }

private:
    struct State {
        Path folder;
        std::optional<Path> current;
        std::function<void(std::uint32_t)> onChange;
        bool finished = false;
    };
    // Shared with the watches, which leave it when destroyed.
    struct Registry {
        std::vector<std::shared_ptr<State>> live;
        int closes = 0;
    };
    class Watch;

    std::set<Path> refused_;
    std::shared_ptr<Registry> registry_;
    int opens_ = 0;
};

}  // namespace quillbern
