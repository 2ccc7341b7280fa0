#include "core/tiles/DockBarContent.h"

namespace quillbern {

namespace {

constexpr double kBounceShare = 0.15;

}  // namespace

DockBarContent decideBarContent(std::optional<Profile> profile, bool trusted,
                                std::vector<TransientDockApp> transientApps) {
    DockBarContent content;
    const bool asksAccess = profile && profile->showsWindows && !trusted;
    const bool hasItems = profile && !profile->items.empty();
    if (asksAccess && !hasItems) {
        content.body = BarBody::authorizeAndHint;
    } else if (!hasItems && transientApps.empty()) {
        content.body = BarBody::dragHint;
    } else {
        content.body = BarBody::strip;
        content.showsSeparator = hasItems && !transientApps.empty();
        content.showsAuthorizeAfterStrip = asksAccess;
    }
    content.profile = std::move(profile);
    content.transientApps = std::move(transientApps);
    return content;
}

bool isVerticalDock(const std::optional<Profile>& profile) {
    return profile && (profile->edge == DockEdge::left || profile->edge == DockEdge::right);
}

Size bounceVector(const std::optional<Profile>& profile, double tileSize) {
    const double d = tileSize * kBounceShare;
    if (!profile) return {0, -d};
    switch (profile->edge) {
        case DockEdge::bottom:
            return {0, -d};
        case DockEdge::top:
            return {0, d};
        case DockEdge::left:
            return {d, 0};
        case DockEdge::right:
            return {-d, 0};
    }
    return {0, -d};
}

}  // namespace quillbern
