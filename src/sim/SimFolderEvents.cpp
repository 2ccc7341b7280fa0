#include "sim/SimFolderEvents.h"

#include <algorithm>

#include "core/foundation/Paths.h"

namespace quillbern {

class SimFolderEvents::Watch final : public FolderWatch {
public:
    Watch(std::shared_ptr<Registry> registry, std::shared_ptr<State> state)
        : registry_(std::move(registry)), state_(std::move(state)) {}
    ~Watch() override {
        std::erase(registry_->live, state_);
        ++registry_->closes;
    }
    std::optional<Path> currentPath() const override { return state_->current; }

private:
    std::shared_ptr<Registry> registry_;
    std::shared_ptr<State> state_;
};

SimFolderEvents::SimFolderEvents() : registry_(std::make_shared<Registry>()) {}

std::unique_ptr<FolderWatch> SimFolderEvents::watch(const Path& folder, std::function<void(std::uint32_t)> onChange) {
    const Path path = normalizedPath(folder);
    if (refused_.contains(path)) return nullptr;
    ++opens_;
    auto state = std::make_shared<State>(State{path, path, std::move(onChange)});
    registry_->live.push_back(state);
    return std::make_unique<Watch>(registry_, std::move(state));
}

void SimFolderEvents::refuse(const Path& folder) {
    refused_.insert(normalizedPath(folder));
}

void SimFolderEvents::emit(const Path& folder, std::uint32_t changes, std::optional<Path> newPath) {
    const Path path = normalizedPath(folder);
    // A callback may end its own watch or others; those ended meanwhile hear nothing.
    const std::vector<std::shared_ptr<State>> targets = registry_->live;
    for (const std::shared_ptr<State>& state : targets) {
        if (state->folder != path || state->finished) continue;
        if (changes & FolderChange::deleted) {
            state->current.reset();
        } else if (changes & FolderChange::renamed) {
            state->current = newPath;
        }
        if (changes & (FolderChange::deleted | FolderChange::renamed)) state->finished = true;
        const auto onChange = state->onChange;
        if (std::ranges::find(registry_->live, state) != registry_->live.end()) onChange(changes);
    }
}

int SimFolderEvents::watchCount(const Path& folder) const {
    const Path path = normalizedPath(folder);
    return static_cast<int>(
        std::ranges::count_if(registry_->live, [&](const auto& state) { return state->folder == path; }));
}

}  // namespace quillbern
