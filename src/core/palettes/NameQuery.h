#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/TextServices.h"

namespace quillbern {

// A typed search for names, as the palettes rank them: the query trimmed of spaces and
// tabs, then sought in each name without case or diacritics, first occurrence only.
// One instance serves one pass over the names, on one thread.
class NameQuery {
public:
    NameQuery(const TextServices& text, std::string_view query);

    // Nothing to look for: a blank query matches no name, rather than every one.
    bool isBlank() const { return folded_.empty(); }
    // 0 when the name begins with the query, 1 when the query begins a word of it (after
    // a space, punctuation or a symbol), 2 when it lies inside a word; none when absent.
    std::optional<int> rank(std::string_view name) const;

private:
    const TextServices& text_;
    std::string folded_;
    mutable FoldedText scratch_;
};

// The best `limit` of the items whose name holds the query: lower rank first, then the
// items that `before` puts first, then the given order. `nameOf` gives an item's name,
// `before` is a strict weak order of two items of equal rank.
template <class Item, class NameOf, class Before>
std::vector<Item> bestMatches(const TextServices& text, std::string_view query, std::span<const Item> items,
                              std::size_t limit, NameOf nameOf, Before before) {
    const NameQuery search(text, query);
    if (search.isBlank() || limit == 0) return {};
    struct Hit {
        std::size_t index;
        int rank;
    };
    std::vector<Hit> hits;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (const auto rank = search.rank(nameOf(items[i]))) hits.push_back({i, *rank});
    }
    // The given order settles every remaining tie, so selecting the best few equals a
    // stable sort of all hits cut to `limit`, without sorting them all.
    const auto better = [&](const Hit& a, const Hit& b) {
        if (a.rank != b.rank) return a.rank < b.rank;
        if (before(items[a.index], items[b.index])) return true;
        if (before(items[b.index], items[a.index])) return false;
        return a.index < b.index;
    };
    const std::size_t kept = std::min(limit, hits.size());
    std::partial_sort(hits.begin(), hits.begin() + static_cast<std::ptrdiff_t>(kept), hits.end(), better);
    std::vector<Item> best;
    best.reserve(kept);
    for (std::size_t i = 0; i < kept; ++i)
        best.push_back(items[hits[i].index]);
    return best;
}

}  // namespace quillbern
