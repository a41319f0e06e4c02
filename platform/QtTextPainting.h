// Text drawn with a QPainter exactly as the canvas rules place it: TextOut at
// a reference point with alignment, escapement and background mode, and
// DrawText laid out in a rectangle.  Shared by the canvases that paint with Qt.
#pragma once

#include "Canvas.h"

class QPainter;

namespace QtTextPainting {

void TextOut(QPainter& painter, const CanvasState& state, CanvasPoint at, const QString& text);
void DrawText(QPainter& painter, const CanvasState& state, const QString& text, const CanvasRect& rect,
              unsigned format);

} // namespace QtTextPainting
