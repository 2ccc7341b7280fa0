#pragma once

#include <functional>

class QPainter;
class QRectF;

namespace quillbern {

// Device rows of a band where each row holds a few spans: a picture laid on, straight edges.
inline constexpr int kBandRows = 24;
// Where smooth curves cross the rows (rounded corners), whose edges come as many short spans.
inline constexpr int kCurveBandRows = 12;

// Qt's raster painter hands a fill of about a hundred spans (rows, or pieces of rows) or
// more to its own thread pool and waits for it; on a busy machine those threads wait for
// a processor and the main loop with them, tens of milliseconds at each repaint of a dock.
// Painting the area in thin bands keeps each fill small enough to be done on the spot.
void paintInBands(QPainter& painter, const QRectF& area, const std::function<void(QPainter&)>& paint,
                  int rows = kBandRows);

}  // namespace quillbern
