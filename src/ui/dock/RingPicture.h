#pragma once

#include <QImage>
#include <optional>

class QColor;

namespace quillbern {

// A part of a ring, in degrees as Qt counts them: from three o'clock, counter-clockwise;
// a negative span turns clockwise.
struct RingArc {
    double start = 0;
    double span = 360;
};

// A ring whose outer edge touches the square it stands in, `side` points across, or an arc
// of it with round ends: a picture of that square, each pixel covered as far as it lies
// within the line. Qt's painter gives a ring's smooth edges as so many short spans that it
// hands them to its thread pool and waits, even in thin bands; this takes a few
// microseconds on the spot. With `within` (device pixels of the square), the picture is of
// those pixels alone.
QImage ringPicture(double side, double ratio, double lineWidth, const QColor& colour,
                   const std::optional<RingArc>& arc = std::nullopt, const std::optional<QRect>& within = std::nullopt);

}  // namespace quillbern
