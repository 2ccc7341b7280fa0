#pragma once

#include <cstddef>

#include "core/foundation/Geometry.h"

namespace quillbern {

// The launch beacon's measures, shared by its controller (which places it) and its view.
namespace beacon {

inline constexpr double kTileSpacing = 14;
inline constexpr double kMargin = 16;

// A tile's icon side for the docks' tile size.
double tileSize(double dockTileSize);
// The square a tile and its ring stand in.
double ringBox(double tileSize);
double ringWidth(double tileSize);
// The whole beacon with `count` tiles in a row.
Size fittingSize(std::size_t count, double tileSize);

}  // namespace beacon

}  // namespace quillbern
