#pragma once

class QPainterPath;
class QRegion;
class QWidget;

namespace quillbern {

// A panel's content view whose visible shape is less than its rectangle. Where no
// compositing manager blends translucent windows, the panel is cut to this outline, since
// what lies outside it would show black.
class OutlinedView {
public:
    // In the view's own coordinates. The panel reads it again when the view is resized.
    virtual QPainterPath outline() const = 0;

protected:
    ~OutlinedView() = default;
    // Tells the view's panel that the outline changed otherwise than by a resize.
    static void outlineChanged(QWidget& view);
};

// The event outlineChanged sends to the view's top-level window.
int outlineChangeEventType();

// The area inside an outline of closed shapes that do not cross, by the even-odd rule: a
// shape inside another is a hole in it, so a ring is its band.
QRegion outlineRegion(const QPainterPath& outline);

}  // namespace quillbern
