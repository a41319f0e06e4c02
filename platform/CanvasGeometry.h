// Geometry shared by the canvas back-ends: where arcs start and end, where
// text cells lie, and the 8 x 8 hatch patterns.
#pragma once

#include "CanvasTypes.h"

#include <QRect>
#include <QRectF>

namespace CanvasGeometry {

// Rectangle of the pixels a shape with bounding box r (right and bottom
// exclusive) covers, in Qt's form: r.left .. r.right - 1.
QRect ToQRect(const CanvasRect& r);
CanvasRect FromQRect(const QRect& r);

// Outline rectangle of an ellipse or arc with bounding box r, as Qt strokes it.
QRectF EllipseBox(const CanvasRect& r);

// Angle in degrees (counter-clockwise from 3 o'clock, 0 .. 360) of the point of
// the ellipse in box on the ray from its centre through radial, measured in
// the ellipse's own parameter (as Qt's arcs take it).
double ArcParameter(const CanvasRect& box, CanvasPoint radial);

// Point of the ellipse in box on the ray from its centre through radial.
CanvasPoint ArcPoint(const CanvasRect& box, CanvasPoint radial);

// Counter-clockwise sweep in degrees from the start ray to the end ray
// (0 < sweep <= 360; 360 when both rays agree).
double ArcSweep(const CanvasRect& box, CanvasPoint start, CanvasPoint end);

// Whether the hatch pattern sets pixel (x, y); patterns repeat every 8 pixels
// from the canvas origin.
bool HatchBit(HatchStyle hatch, int x, int y);

// Offset of the top-left of the text cell from the reference point of TextOut,
// in the text's own (unrotated) frame.
CanvasPoint TextCellOffset(unsigned textAlign, int width, int ascent, int height);

} // namespace CanvasGeometry
