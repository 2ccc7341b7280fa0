#include "core/palettes/FileSearchState.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <unordered_set>

#include "core/foundation/Paths.h"

namespace quillbern {

namespace {

constexpr std::string_view kCaptionSeparator = " \xE2\x80\xBA ";

// `folder` holds `path` somewhere beneath it; every absolute path lies beneath "/".
bool holds(std::string_view folder, std::string_view path) {
    if (folder == "/") return path.starts_with('/');
    return path.size() > folder.size() && path.starts_with(folder) && path[folder.size()] == '/';
}

}  // namespace

FileSearchState::FileSearchState(Ports ports, const std::vector<Profile>& docks)
    : ports_(ports), roots_(buildRoots(ports.files, ports.text, docks)), levelEntries_(roots_) {
    if (!roots_.empty()) selectedID_ = roots_.front().path;
}

FileSearchState::~FileSearchState() {
    cancelTasks();
}

std::vector<FileEntry> FileSearchState::buildRoots(const FileSystem& files, const TextServices& text,
                                                   const std::vector<Profile>& docks) {
    std::vector<FileEntry> roots;
    std::unordered_set<Path> paths;
    const auto add = [&](const Path& path, std::string name) {
        Path normalized = normalizedPath(path);
        if (paths.insert(normalized).second)
            roots.push_back({.path = std::move(normalized), .name = std::move(name), .isFolder = true, .modified = {}});
    };
    for (const UserDirectory which : {UserDirectory::desktop, UserDirectory::documents, UserDirectory::downloads}) {
        if (const std::optional<Path> path = files.userDirectory(which)) add(*path, files.displayName(*path));
    }
    std::vector<const PinnedLocation*> pinned;
    for (const Profile& dock : docks) {
        for (const PinnedItem& item : dock.items) {
            if (const PinnedLocation* location = item.location()) pinned.push_back(location);
        }
    }
    std::ranges::stable_sort(pinned, [&text](const PinnedLocation* a, const PinnedLocation* b) {
        return text.compare(a->name, b->name) < 0;
    });
    for (const PinnedLocation* location : pinned)
        add(location->path, location->name);
    return roots;
}

template <class T>
void FileSearchState::assign(T& field, T value) {
    if (field == value) return;
    field = std::move(value);
    changed.emit();
}

std::span<const FileEntry> FileSearchState::browseEntries() const {
    if (!levelEntries_) return {};
    return std::span<const FileEntry>(*levelEntries_).first(std::min(levelEntries_->size(), kBrowseLimit));
}

std::span<const FileEntry> FileSearchState::shownEntries() const {
    return isSearching_ ? std::span<const FileEntry>(searchResults_) : browseEntries();
}

std::optional<FileEntry> FileSearchState::selectedEntry() const {
    const std::span<const FileEntry> shown = shownEntries();
    if (shown.empty()) return std::nullopt;
    const auto found =
        std::ranges::find_if(shown, [this](const FileEntry& entry) { return entry.path == selectedID_; });
    return found != shown.end() ? *found : shown.front();
}

std::optional<std::string> FileSearchState::breadcrumb() const {
    if (stack_.empty()) return std::nullopt;
    std::string text;
    for (const FileEntry& folder : stack_) {
        if (!text.empty()) text += kCaptionSeparator;
        text += folder.name;
    }
    return text;
}

std::optional<std::string> FileSearchState::pathCaption(const FileEntry& entry) const {
    if (!isSearching_) return std::nullopt;
    const std::string parent = parentPath(entry.path);
    const std::span<const FileEntry> candidates =
        stack_.empty() ? std::span<const FileEntry>(roots_) : std::span<const FileEntry>(stack_).last(1);
    for (const FileEntry& candidate : candidates) {
        if (candidate.path != parent && !holds(candidate.path, parent)) continue;
        std::string caption = candidate.name;
        std::string_view rest = std::string_view(parent).substr(std::min(candidate.path.size(), parent.size()));
        while (!rest.empty()) {
            const std::size_t slash = rest.find('/');
            const std::string_view component = rest.substr(0, slash);
            if (!component.empty()) {
                caption += kCaptionSeparator;
                caption += component;
            }
            rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        }
        return caption;
    }
    return std::nullopt;
}

ImageHandle FileSearchState::icon(const FileEntry& entry) {
    expectOnLoop(ports_.mainLoop);
    const auto found = iconCache_.find(entry.path);
    if (found != iconCache_.end()) return found->second;
    ImageHandle image = ports_.icons.fileIcon(entry.path);
    iconCache_.emplace(entry.path, image);
    return image;
}

void FileSearchState::setQueryValue(std::string text) {
    assign(query_, std::move(text));
    assign(isSearching_, !ports_.text.trimmingHorizontalSpace(query_).empty());
}

void FileSearchState::setQuery(std::string text) {
    expectOnLoop(ports_.mainLoop);
    if (text == query_) return;
    setQueryValue(std::move(text));
    if (isSearching_) ensureIndex();
    refreshSearchResults();
    const std::span<const FileEntry> shown = shownEntries();
    assign(selectedID_, shown.empty() ? std::nullopt : std::optional<Path>(shown.front().path));
}

void FileSearchState::enter(const FileEntry& folder) {
    expectOnLoop(ports_.mainLoop);
    std::vector<FileEntry> stack = stack_;
    stack.push_back(folder);
    assign(stack_, std::move(stack));
    navigationChanged();
}

void FileSearchState::goUp() {
    expectOnLoop(ports_.mainLoop);
    if (stack_.empty()) return;
    std::vector<FileEntry> stack = stack_;
    stack.pop_back();
    assign(stack_, std::move(stack));
    navigationChanged();
}

void FileSearchState::navigationChanged() {
    ++navGeneration_;
    setQueryValue({});
    assign(levelDenied_, false);
    assign(searchIndex_, std::optional<std::vector<FileEntry>>());
    assign(indexBuilding_, false);
    assign(isLoadingLevel_, false);
    if (levelTask_) levelTask_->cancel();
    if (indexTask_) indexTask_->cancel();
    indexTask_.reset();
    refreshSearchResults();
    loadLevel();
}

void FileSearchState::loadLevel() {
    if (stack_.empty()) {
        assign(levelEntries_, std::optional<std::vector<FileEntry>>(roots_));
        assign(selectedID_, roots_.empty() ? std::nullopt : std::optional<Path>(roots_.front().path));
        return;
    }
    const std::uint64_t generation = navGeneration_;
    assign(levelEntries_, std::optional<std::vector<FileEntry>>());
    assign(isLoadingLevel_, true);
    const CancelToken token;
    levelTask_ = token;
    ports_.engine.listLevel(
        stack_.back().path, token, lifetime_.guard([this, generation, token](FileSearchEngine::Listing listing) {
            if (token.isCancelled() || generation != navGeneration_) return;
            assign(isLoadingLevel_, false);
            assign(levelDenied_, !listing.has_value());
            assign(levelEntries_, listing ? std::move(listing) : std::optional<std::vector<FileEntry>>(std::in_place));
            refreshSearchResults();
            reconcile();
            if (onLevelLoaded) onLevelLoaded();
        }));
}

void FileSearchState::refreshSearchResults() {
    if (!isSearching_) {
        assign(searchResults_, {});
        return;
    }
    // The whole level, not the part shown while browsing, then what the index adds.
    std::vector<const FileEntry*> pool;
    std::unordered_set<std::string_view> levelPaths;
    if (levelEntries_) {
        for (const FileEntry& entry : *levelEntries_) {
            pool.push_back(&entry);
            levelPaths.insert(entry.path);
        }
    }
    if (searchIndex_) {
        for (const FileEntry& entry : *searchIndex_) {
            if (!levelPaths.contains(entry.path)) pool.push_back(&entry);
        }
    }
    assign(searchResults_, FileSearchEngine::matches(ports_.text, query_, pool, kResultLimit));
}

void FileSearchState::ensureIndex() {
    if (searchIndex_ || indexTask_) return;
    std::vector<Path> scope;
    if (stack_.empty()) {
        for (const FileEntry& root : roots_)
            scope.push_back(root.path);
    } else {
        scope.push_back(stack_.back().path);
    }
    const std::uint64_t generation = navGeneration_;
    assign(indexBuilding_, true);
    const CancelToken token;
    indexTask_ = token;
    ports_.engine.buildIndex(std::move(scope), token,
                             lifetime_.guard([this, generation, token](std::vector<FileEntry> index) {
                                 if (token.isCancelled() || generation != navGeneration_) return;
                                 assign(searchIndex_, std::optional<std::vector<FileEntry>>(std::move(index)));
                                 assign(indexBuilding_, false);
                                 refreshSearchResults();
                                 reconcile();
                             }));
}

void FileSearchState::reconcile() {
    expectOnLoop(ports_.mainLoop);
    const std::span<const FileEntry> shown = shownEntries();
    if (std::ranges::any_of(shown, [this](const FileEntry& entry) { return entry.path == selectedID_; })) return;
    assign(selectedID_, shown.empty() ? std::nullopt : std::optional<Path>(shown.front().path));
}

void FileSearchState::move(int step) {
    expectOnLoop(ports_.mainLoop);
    const std::span<const FileEntry> shown = shownEntries();
    if (shown.empty()) return;
    const auto found =
        std::ranges::find_if(shown, [this](const FileEntry& entry) { return entry.path == selectedID_; });
    const std::ptrdiff_t current = found == shown.end() ? 0 : found - shown.begin();
    const std::ptrdiff_t target = std::clamp<std::ptrdiff_t>(current + step, 0, std::ssize(shown) - 1);
    assign(selectedID_, std::optional<Path>(shown[static_cast<std::size_t>(target)].path));
}

void FileSearchState::cancelTasks() {
    if (levelTask_) levelTask_->cancel();
    if (indexTask_) indexTask_->cancel();
}

}  // namespace quillbern
