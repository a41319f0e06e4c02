// Canvas that paints into a QImage with QPainter: the windows draw their whole
// picture off screen and put the image on the screen in one go.  Inverting and
// XOR raster modes really combine with the pixels already in the image.
#pragma once

#include "Canvas.h"

#include <QImage>

#include <functional>
#include <memory>

class QPainter;
class QRect;

class QtCanvas : public Canvas {
public:
    // Paints into image, which must outlive the canvas.  An image that is not
    // RGB32, ARGB32 or ARGB32_Premultiplied is converted to RGB32 first; on an
    // empty image every primitive does nothing.
    explicit QtCanvas(QImage& image);
    ~QtCanvas() override;

    CanvasSize Size() const override;

    // Finishes pending painting so the image can be read or shown.
    void Flush();

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
    // Draws a shape with the current pen and brush in the current raster mode.
    // outline(painter) strokes it, fill(painter) fills it (may be empty);
    // bounds covers everything the shape can touch.
    using ShapeStep = std::function<void(QPainter&)>;
    void DrawShape(const QRect& bounds, const ShapeStep& fill, const ShapeStep& outline);
    void PaintShape(QPainter& p, const ShapeStep& fill, const ShapeStep& outline) const;
    QPainter& Painter();
    void EndPainter();
    void ApplyClip(QPainter& p) const;
    QRect ClipBounds() const;
    QRect PointBounds(std::span<const CanvasPoint> points) const;

    QImage& m_image;
    std::unique_ptr<QPainter> m_pPainter;
};
