#include "core/dock/DockFrames.h"

#include <algorithm>

#include "core/tiles/DockMetrics.h"
#include "core/tiles/DockWindows.h"

namespace quillbern {

namespace {

constexpr double kMargin = 14;
constexpr double kMinimumLength = 180;
constexpr double kFixedLength = 36;
constexpr double kVerticalExtraLength = 20;
constexpr double kPermissionButtonLength = 170;
constexpr std::size_t kMinimumCells = 2;
constexpr double kStackGap = 6;

// The fixed length holds the bar's and the content's insets, and what the drawn separator
// takes beyond the length counted for it.
static_assert(kFixedLength >= 2 * (dockbar::kBarInset + dockbar::kAxisInset) + dockbar::kCellGap +
                                  dockbar::separatorLength() - dockbar::kSeparatorAllowance);

bool isHorizontal(DockEdge edge) {
    return edge == DockEdge::bottom || edge == DockEdge::top;
}

// Lower bound first, upper bound last: on a screen too small the upper bound wins.
double clamped(double value, double low, double high) {
    return std::min(std::max(value, low), high);
}

std::size_t transientCount(const Profile& profile, DisplayId display, const DockFrameInputs& inputs) {
    if (!inputs.transientApps) return 0;
    return inputs.transientApps(windowsOnDisplay(inputs.windows, display), pinnedBundleIDs(profile));
}

// The length the dock's contents ask for along its edge.
double contentLength(const Profile& profile, DisplayId display, const DockFrameInputs& inputs) {
    const std::size_t pinned = profile.items.size();
    const bool listsApps = profile.showsWindows && inputs.isTrusted;
    const bool asksPermission = profile.showsWindows && !inputs.isTrusted;
    const std::size_t transient = listsApps ? transientCount(profile, display, inputs) : 0;
    const std::size_t cells = pinned + transient;
    const double separator = pinned > 0 && transient > 0 ? dockbar::kSeparatorAllowance : 0;
    double strip = 0;
    if (!(asksPermission && pinned == 0)) {
        const double cell = dockbar::cellLength(inputs.tileSize, inputs.showsLabels, !isHorizontal(profile.edge));
        strip = dockbar::stripLength(std::max(cells, kMinimumCells), false, cell);
    }
    return separator + strip + kFixedLength + (asksPermission ? kPermissionButtonLength : 0);
}

}  // namespace

RectBL dockFrame(const RectBL& vf, const Profile& profile, DisplayId display, double stackOffset,
                 const DockFrameInputs& inputs) {
    const double tile = inputs.tileSize;
    const double wanted = contentLength(profile, display, inputs);
    if (isHorizontal(profile.edge)) {
        const double length = std::min(vf.width - 2 * kMargin, std::max(wanted, kMinimumLength));
        const double thickness = std::min(vf.height - 2 * kMargin, tile + (inputs.showsLabels ? 29 : 10) + 32);
        double x = 0;
        switch (profile.alignment) {
            case DockAlignment::leading:
                x = vf.minX() + kMargin;
                break;
            case DockAlignment::center:
                x = vf.midX() - length / 2;
                break;
            case DockAlignment::trailing:
                x = vf.maxX() - length - kMargin;
                break;
        }
        x = clamped(x, vf.minX() + kMargin, vf.maxX() - length - kMargin);
        double y = profile.edge == DockEdge::bottom ? vf.minY() + kMargin + stackOffset
                                                    : vf.maxY() - thickness - kMargin - stackOffset;
        y = clamped(y, vf.minY() + kMargin, vf.maxY() - thickness - kMargin);
        return {x, y, length, thickness};
    }
    const double length = std::min(vf.height - 2 * kMargin, std::max(wanted + kVerticalExtraLength, kMinimumLength));
    const double thickness = std::min(vf.width - 2 * kMargin, tile + 24);
    double y = 0;
    switch (profile.alignment) {
        case DockAlignment::leading:
            y = vf.maxY() - length - kMargin;
            break;
        case DockAlignment::center:
            y = vf.midY() - length / 2;
            break;
        case DockAlignment::trailing:
            y = vf.minY() + kMargin;
            break;
    }
    y = clamped(y, vf.minY() + kMargin, vf.maxY() - length - kMargin);
    double x = profile.edge == DockEdge::left ? vf.minX() + kMargin + stackOffset
                                              : vf.maxX() - thickness - kMargin - stackOffset;
    x = clamped(x, vf.minX() + kMargin, vf.maxX() - thickness - kMargin);
    return {x, y, thickness, length};
}

std::vector<StackedFrame> stackedFrames(std::span<const Profile> visibleProfiles, const RectBL& visibleFrame,
                                        DisplayId display, const std::string& stableID, const DockFrameInputs& inputs) {
    std::vector<StackedFrame> result;
    for (const DockEdge edge : kAllDockEdges) {
        std::vector<const Profile*> onEdge;
        for (const Profile& profile : visibleProfiles) {
            const bool standsHere = profile.display.isAll() || profile.display.stableID() == stableID;
            if (standsHere && profile.edge == edge) onEdge.push_back(&profile);
        }
        std::stable_sort(onEdge.begin(), onEdge.end(),
                         [](const Profile* a, const Profile* b) { return !a->display.isAll() && b->display.isAll(); });
        if (onEdge.empty()) continue;
        const RectBL first = dockFrame(visibleFrame, *onEdge[0], display, 0, inputs);
        result.push_back({*onEdge[0], first});
        if (onEdge.size() < 2) continue;
        const double offset = (isHorizontal(edge) ? first.height : first.width) + kStackGap;
        result.push_back({*onEdge[1], dockFrame(visibleFrame, *onEdge[1], display, offset, inputs)});
    }
    return result;
}

}  // namespace quillbern
