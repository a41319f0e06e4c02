// Canvas on any QPainter device, used for vector pictures such as SVG.  Such
// devices cannot combine with the pixels below, so shapes in the inverting and
// XOR raster modes are drawn as a half-transparent grey overlay instead.
#pragma once

#include "Canvas.h"

class QPainter;

class PainterCanvas : public Canvas {
public:
    // painter must be active on a device of at least size and outlive the canvas.
    PainterCanvas(QPainter& painter, CanvasSize size);

    CanvasSize Size() const override { return m_size; }

protected:
    void DoMoveTo(CanvasPoint to) override;
    void DoLineTo(CanvasPoint from, CanvasPoint to) override;
    void DoPolyline(std::span<const CanvasPoint> points) override;
    void DoPolyBezierTo(CanvasPoint from, std::span<const CanvasPoint> points) override;
    void DoPolygon(std::span<const CanvasPoint> points) override;
    void DoRectangle(const CanvasRect& rect) override;
    void DoFillRect(const CanvasRect& rect, const Brush& brush) override;
    void DoEllipse(const CanvasRect& rect) override;
    void DoArcTo(CanvasPoint from, const CanvasRect& box, CanvasPoint start, CanvasPoint end) override;
    void DoTextOut(CanvasPoint at, const QString& text) override;
    void DoDrawText(const QString& text, const CanvasRect& rect, unsigned format) override;
    void DoStretchBlt(const CanvasRect& dest, const QImage& image, const CanvasRect& src) override;
    void DoSetPixel(CanvasPoint at, ColourRef colour) override;
    void DoInvertRect(const CanvasRect& rect) override;

private:
    // Sets pen, brush and clip of the current state on the painter.
    void Prepare(bool bFill);

    QPainter& m_painter;
    CanvasSize m_size;
};
