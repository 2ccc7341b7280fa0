#include "core/dock/BeaconMetrics.h"

#include <algorithm>

namespace quillbern::beacon {

double tileSize(double dockTileSize) {
    return std::min(1.5 * dockTileSize, 96.0);
}

double ringBox(double tileSize) {
    return tileSize + 16;
}

double ringWidth(double tileSize) {
    return std::max(tileSize / 20, 3.0);
}

Size fittingSize(std::size_t count, double tileSize) {
    const auto n = static_cast<double>(count);
    const double row = n * ringBox(tileSize) + std::max(n - 1, 0.0) * kTileSpacing;
    return {row + 2 * kMargin, ringBox(tileSize) + 2 * kMargin};
}

}  // namespace quillbern::beacon
