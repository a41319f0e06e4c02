// The drawing interface every window draws through, modelled on the classic
// device context: a current state (pen, brush, font, colours, modes, clip,
// current position) and primitives that use it.  Back-ends paint into an
// image, record the calls for tests, or write a vector picture.
#pragma once

#include "CanvasTypes.h"
#include "FontDesc.h"

#include <QImage>
#include <QString>

#include <span>
#include <vector>

// Everything a primitive draws with.  Copied whole by Save and by recordings.
struct CanvasState {
    Pen m_pen;                                      // black, solid, 1 pixel
    Brush m_brush;                                  // solid white
    FontDesc m_font;                                // Arial, cell height 16
    ColourRef m_clrText = kBlack;
    ColourRef m_clrBk = kWhite;
    BkMode m_eBkMode = BkMode::Opaque;
    RasterMode m_eRasterMode = RasterMode::Copy;
    unsigned m_nTextAlign = TextAlign::Left | TextAlign::Top;
    bool m_bClip = false;                           // m_rcClip applies
    CanvasRect m_rcClip;
    CanvasPoint m_ptCurrent;                        // start of LineTo, PolyBezierTo, ArcTo

    bool operator==(const CanvasState&) const = default;
};

class Canvas {
public:
    Canvas() = default;
    virtual ~Canvas() = default;
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // Size of the drawing surface in pixels.
    virtual CanvasSize Size() const = 0;
    int Width() const { return Size().cx; }
    int Height() const { return Size().cy; }

    // --- state; each setter returns the previous value so it can be put back ---
    const CanvasState& State() const { return m_state; }
    Pen SelectPen(const Pen& pen);
    Brush SelectBrush(const Brush& brush);
    FontDesc SelectFont(const FontDesc& font);
    ColourRef SetTextColour(ColourRef colour);
    ColourRef SetBkColour(ColourRef colour);
    BkMode SetBkMode(BkMode mode);
    RasterMode SetRasterMode(RasterMode mode);
    unsigned SetTextAlign(unsigned align); // TextAlign flags
    // Limits all drawing to rect (replacing an earlier clip rectangle).
    void SetClipRect(const CanvasRect& rect);
    void ResetClip();
    // Saves the whole state; Restore brings back the last saved one (no-op when none).
    void Save();
    void Restore();
    CanvasPoint CurrentPosition() const { return m_state.m_ptCurrent; }

    // --- primitives ---
    void MoveTo(int x, int y);
    void MoveTo(CanvasPoint p) { MoveTo(p.x, p.y); }
    // Line from the current position to (x, y), without the end pixel; (x, y) becomes current.
    void LineTo(int x, int y);
    void LineTo(CanvasPoint p) { LineTo(p.x, p.y); }
    // Connected lines through the points (pen); the current position is not used.
    void Polyline(std::span<const CanvasPoint> points);
    // Cubic Béziers from the current position: each three points are two control
    // points and an end point.  Trailing points that do not make a whole segment
    // are ignored; returns false when no segment was drawn.  The last end point
    // becomes current.
    bool PolyBezierTo(std::span<const CanvasPoint> points);
    // Closed polygon: outline with the pen, interior (even-odd rule) with the brush.
    void Polygon(std::span<const CanvasPoint> points);
    // Outline with the pen and interior with the brush; right and bottom exclusive.
    // With the null pen the filled area is one pixel smaller at the right and bottom.
    void Rectangle(const CanvasRect& rect);
    void Rectangle(int left, int top, int right, int bottom) { Rectangle({left, top, right, bottom}); }
    // Fills rect (right and bottom exclusive) with brush: no outline, raster mode not used.
    void FillRect(const CanvasRect& rect, const Brush& brush);
    // Ellipse inside the bounding rectangle: outline with the pen, interior with the brush.
    void Ellipse(const CanvasRect& rect);
    void Ellipse(int left, int top, int right, int bottom) { Ellipse({left, top, right, bottom}); }
    // Elliptic arc of the ellipse in box, counter-clockwise from where the ray from
    // the centre through start meets it to where the ray through end meets it (a
    // whole ellipse when both rays agree), after a line from the current position
    // to the arc's start.  The arc's end becomes current.
    void ArcTo(const CanvasRect& box, CanvasPoint start, CanvasPoint end);
    // Text at (x, y) as the text alignment places it, turned by the font's
    // escapement, in the text colour; opaque mode fills the text cell first.
    void TextOut(int x, int y, const QString& text);
    // Text formatted in rect (DrawTextFormat flags) as TextLayout lays it out:
    // lines break at "\n" unless SingleLine, and at spaces with WordBreak; opaque
    // mode fills each line's cell.  Clipped to rect unless NoClip.  The
    // escapement is not applied.  Returns the height of the text.
    int DrawText(const QString& text, const CanvasRect& rect, unsigned format);
    // Picture stretched into dest without smoothing (whole image, or the part src
    // of it; a src reaching outside the image draws nothing).
    void StretchBlt(const CanvasRect& dest, const QImage& image);
    void StretchBlt(const CanvasRect& dest, const QImage& image, const CanvasRect& src);
    void SetPixel(int x, int y, ColourRef colour);
    // Inverts every pixel of rect (right and bottom exclusive).
    void InvertRect(const CanvasRect& rect);

    // --- measuring (the same numbers on every back-end) ---
    // Width and height of text in the current font, unrotated.
    CanvasSize GetTextExtent(const QString& text) const;
    FontMetricsInfo GetTextMetrics() const;

protected:
    // Back-end primitives; they read the state through State().  Arguments are
    // already checked: rectangles normalised, point lists long enough.
    virtual void DoMoveTo(CanvasPoint to) = 0;
    virtual void DoLineTo(CanvasPoint from, CanvasPoint to) = 0;
    virtual void DoPolyline(std::span<const CanvasPoint> points) = 0;
    virtual void DoPolyBezierTo(CanvasPoint from, std::span<const CanvasPoint> points) = 0;
    virtual void DoPolygon(std::span<const CanvasPoint> points) = 0;
    virtual void DoRectangle(const CanvasRect& rect) = 0;
    virtual void DoFillRect(const CanvasRect& rect, const Brush& brush) = 0;
    virtual void DoEllipse(const CanvasRect& rect) = 0;
    virtual void DoArcTo(CanvasPoint from, const CanvasRect& box, CanvasPoint start, CanvasPoint end) = 0;
    virtual void DoTextOut(CanvasPoint at, const QString& text) = 0;
    virtual void DoDrawText(const QString& text, const CanvasRect& rect, unsigned format) = 0;
    virtual void DoStretchBlt(const CanvasRect& dest, const QImage& image, const CanvasRect& src) = 0;
    virtual void DoSetPixel(CanvasPoint at, ColourRef colour) = 0;
    virtual void DoInvertRect(const CanvasRect& rect) = 0;

private:
    CanvasState m_state;
    std::vector<CanvasState> m_aSaved;
};
