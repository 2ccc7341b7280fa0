#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/foundation/FilledByName.h"
#include "core/foundation/Signal.h"
#include "core/foundation/Subscription.h"
#include "core/model/PinnedStore.h"
#include "core/palettes/AppSearchIndex.h"
#include "core/platform/Icons.h"

namespace quillbern {

// One showing of the application search: the query, the highlighted result and the icons
// shown so far. Results are worked out afresh at each read from the index's current
// applications, so a scan that lands while the palette shows updates it. Built at each
// showing and dropped at its end, icons included. Main thread.
class AppSearchState {
public:
    static constexpr std::size_t kResultLimit = 8;

    struct Ports {
        [[no_unique_address]] FilledByName<Ports> byName{};
        const TextServices& text;
        const Icons& icons;
    };
    AppSearchState(Ports ports, AppSearchIndex& index, PinnedStore& pinned);
    AppSearchState(const AppSearchState&) = delete;
    AppSearchState& operator=(const AppSearchState&) = delete;

    const std::string& query() const { return query_; }
    const std::optional<AppId>& selectedId() const { return selectedId_; }
    // At most kResultLimit, best first.
    std::vector<InstalledApp> results() const;
    // The highlighted result: the selected one while it is among the results, else the
    // first; none without results.
    std::optional<InstalledApp> selectedApp() const;

    // A different text highlights its best match; the same text changes nothing.
    void setQuery(std::string text);
    // By a signed step through the results, stopping at either end.
    void move(int step);
    // Keeps the highlight on an existing result: the first one when the selected one went.
    void reconcile();

    // The entry's icon, else the generic picture; cached for the showing, by the application's path.
    ImageHandle icon(const InstalledApp& app);
    // The docks holding the application, in the docks' order.
    std::vector<Profile> profilesContaining(const InstalledApp& app) const;

    // What the content below the field shows.
    enum class Content { hint, results, noMatch };
    Content content() const;
    // Only for a query with anything in it, spaces too.
    bool showsClearButton() const { return !query_.empty(); }
    // Names the query exactly as typed.
    std::string noMatchText() const;
    // The pin badge's tooltip: the docks holding it, in their order; empty for none.
    std::string badgeText(const InstalledApp& app) const;
    // What the content's height follows: which content shows, and the results' identities
    // in order.
    struct Shape {
        Content content = Content::hint;
        std::vector<AppId> results;
        bool operator==(const Shape&) const = default;
    };
    Shape shape() const;
    // Whether the shape changed since the last call (the first call finds the shape it
    // opened with).
    bool takeShapeChange();

    // The query, the selection, the index's applications or the docks changed.
    Signal<> changed;

private:
    Ports ports_;
    const AppSearchIndex& index_;
    const PinnedStore& pinned_;
    std::string query_;
    std::optional<AppId> selectedId_;
    std::map<Path, ImageHandle> icons_;
    Shape lastShape_;
    Subscription indexChanged_;
    Subscription profilesChanged_;
};

// What the application search's view is built from: the showing's state, and where the
// user's choices go.
struct AppSearchViewInputs {
    std::shared_ptr<AppSearchState> state;
    // Return on the highlighted row, or a click on a row.
    std::function<void(const InstalledApp&)> open;
    // The pin button of a row: the pin menu at the pointer.
    std::function<void(const InstalledApp&)> pinMenu;
};

}  // namespace quillbern
