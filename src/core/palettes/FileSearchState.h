#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/foundation/CancelToken.h"
#include "core/foundation/FilledByName.h"
#include "core/foundation/Lifetime.h"
#include "core/foundation/RunLoop.h"
#include "core/foundation/Signal.h"
#include "core/model/Profile.h"
#include "core/palettes/FileEntry.h"
#include "core/palettes/FileSearchEngine.h"
#include "core/platform/FileSystem.h"
#include "core/platform/Icons.h"
#include "core/platform/TextServices.h"

namespace quillbern {

// The model behind one opening of the file palette: the top-level folders (the user's
// Desktop, Documents and Downloads, then the folders pinned in docks), the folders
// entered, the level shown, a search index built once per navigation for its scope, the
// search results and the selection. Each listing and index is tagged with the navigation
// it was asked for, and dropped whole when the user has navigated since. Main thread only.
//
// The shown list is the search results while searching, else the level cut to 200; keys,
// clicks and the selection act on it.
class FileSearchState {
public:
    struct Ports {
        [[no_unique_address]] FilledByName<Ports> byName{};
        RunLoop& mainLoop;
        FileSearchEngine& engine;
        const FileSystem& files;
        const TextServices& text;
        const Icons& icons;
    };

    static constexpr std::size_t kBrowseLimit = 200;
    static constexpr std::size_t kResultLimit = 8;

    // At the top level with the first root selected; starts nothing.
    FileSearchState(Ports ports, const std::vector<Profile>& docks);
    // Cancels what is under way.
    ~FileSearchState();
    FileSearchState(const FileSearchState&) = delete;
    FileSearchState& operator=(const FileSearchState&) = delete;

    // The user's three folders in order, then the docks' pinned folders by name; each
    // normalised path once, the first occurrence winning.
    static std::vector<FileEntry> buildRoots(const FileSystem& files, const TextServices& text,
                                             const std::vector<Profile>& docks);

    const std::string& query() const { return query_; }
    // The folders entered, outermost first; empty at the top level.
    const std::vector<FileEntry>& stack() const { return stack_; }
    const std::vector<FileEntry>& roots() const { return roots_; }
    // Absent while a folder's listing is on its way.
    const std::optional<std::vector<FileEntry>>& levelEntries() const { return levelEntries_; }
    // The folder shown refused to be read.
    bool levelDenied() const { return levelDenied_; }
    const std::optional<std::vector<FileEntry>>& searchIndex() const { return searchIndex_; }
    bool indexBuilding() const { return indexBuilding_; }
    bool isLoadingLevel() const { return isLoadingLevel_; }
    const std::vector<FileEntry>& searchResults() const { return searchResults_; }
    const std::optional<Path>& selectedID() const { return selectedID_; }

    // The query holds more than spaces and tabs.
    bool isSearching() const { return isSearching_; }
    // The level shown, cut to kBrowseLimit.
    std::span<const FileEntry> browseEntries() const;
    // The selected entry of the shown list, else its first; none when it is empty.
    std::optional<FileEntry> selectedEntry() const;
    // The names of the folders entered, joined by " › "; none at the top level.
    std::optional<std::string> breadcrumb() const;
    // Where a search result lies: the first candidate folder that holds it (the folder
    // shown, else each root in order) and the folders beneath it, joined by " › "; none
    // outside search or when no candidate holds it.
    std::optional<std::string> pathCaption(const FileEntry& entry) const;
    // Each path's icon is fetched once per opening.
    ImageHandle icon(const FileEntry& entry);

    // Each edit selects the best result; the first non-blank one starts the index.
    void setQuery(std::string text);
    // Shows the folder's level.
    void enter(const FileEntry& folder);
    // Back to the level above; nothing at the top level.
    void goUp();
    // Moves the selection by a step (-1 up, +1 down), stopping at either end.
    void move(int step);
    // Keeps the selection when its entry is still shown, else selects the first one.
    void reconcile();
    // Stops the listing and the index under way; what they would bring is dropped.
    void cancelTasks();

    // Called each time a folder's listing has been applied (not at the top level).
    std::function<void()> onLevelLoaded;
    // Any observed value changed.
    Signal<> changed;

private:
    void navigationChanged();
    void loadLevel();
    void refreshSearchResults();
    void ensureIndex();
    void setQueryValue(std::string text);
    std::span<const FileEntry> shownEntries() const;
    template <class T>
    void assign(T& field, T value);

    Ports ports_;
    std::string query_;
    bool isSearching_ = false;
    std::vector<FileEntry> stack_;
    std::vector<FileEntry> roots_;
    std::optional<std::vector<FileEntry>> levelEntries_;
    bool levelDenied_ = false;
    std::optional<std::vector<FileEntry>> searchIndex_;
    bool indexBuilding_ = false;
    bool isLoadingLevel_ = false;
    std::vector<FileEntry> searchResults_;
    std::optional<Path> selectedID_;
    std::unordered_map<Path, ImageHandle> iconCache_;
    std::uint64_t navGeneration_ = 0;
    std::optional<CancelToken> levelTask_;
    // Kept once the index has arrived, so one navigation builds one index at most.
    std::optional<CancelToken> indexTask_;
    Lifetime lifetime_;
};

}  // namespace quillbern
