#include "core/palettes/FileSearchViewModel.h"

#include "core/foundation/Localization.h"

namespace quillbern {

FileListContent fileListContent(const FileSearchState& state) {
    if (state.levelDenied()) return FileListContent::denied;
    if (state.isSearching()) {
        return state.searchResults().empty() && !state.indexBuilding() ? FileListContent::noMatch
                                                                       : FileListContent::results;
    }
    if (!state.levelEntries()) return FileListContent::loading;
    return state.browseEntries().empty() ? FileListContent::empty : FileListContent::level;
}

std::vector<std::string> fileShapeSignature(const FileSearchState& state) {
    std::vector<std::string> signature;
    const auto add = [&signature](const FileEntry& entry) { signature.push_back(entry.path); };
    if (state.isSearching()) {
        for (const FileEntry& entry : state.searchResults())
            add(entry);
    } else {
        for (const FileEntry& entry : state.browseEntries())
            add(entry);
    }
    const auto flag = [](bool on) { return on ? std::string("true") : std::string("false"); };
    // What shows decides the shape, whatever else is alike: an empty folder's listing leaves
    // the rows as they were while it loaded.
    signature.push_back("content:" + std::to_string(static_cast<int>(fileListContent(state))));
    signature.push_back("building:" + flag(state.indexBuilding()));
    signature.push_back("crumb:" + state.breadcrumb().value_or(""));
    signature.push_back("total:" + std::to_string(state.levelEntries() ? state.levelEntries()->size() : 0));
    return signature;
}

std::optional<std::string> fileRowDate(const FileEntry& entry, const std::optional<std::string>& caption,
                                       const TextServices& text, WallTime now) {
    if (entry.isFolder || !entry.modified || caption) return std::nullopt;
    return text.formatRelative(*entry.modified, now);
}

std::optional<std::string> fileCountFooter(const FileSearchState& state) {
    if (fileListContent(state) != FileListContent::level) return std::nullopt;
    const std::size_t shown = state.browseEntries().size();
    const std::size_t total = state.levelEntries()->size();
    if (total <= shown) return std::nullopt;
    // TRANSLATORS: the items shown of a folder's, then how many it holds; the form follows the
    // second number.
    return trn("Showing %lld of %lld item", "Showing %lld of %lld items", static_cast<long long>(total),
               static_cast<long long>(shown), static_cast<long long>(total));
}

}  // namespace quillbern
