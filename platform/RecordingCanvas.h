// Canvas that keeps every drawing call as a record together with the state it
// was drawn with, so tests can check what a window draws ("a rung at y = 410")
// without looking at pixels.  Text is measured exactly as on the screen.
#pragma once

#include "Canvas.h"

#include <QSize>

#include <vector>

enum class CanvasRecordKind {
    MoveTo,
    LineTo,
    Polyline,
    PolyBezierTo,
    Polygon,
    Rectangle,
    FillRect,
    Ellipse,
    ArcTo,
    TextOut,
    DrawText,
    StretchBlt,
    SetPixel,
    InvertRect
};

// One drawing call.  Which fields are used depends on the kind:
//   MoveTo: m_aPoints = {to}.  LineTo: {from, to}.  Polyline, Polygon: the points.
//   PolyBezierTo: {from, c1, c2, end, ...}.  ArcTo: {from, start, end}, m_rect = box.
//   Rectangle, Ellipse, InvertRect: m_rect.  FillRect: m_rect, m_brushArg.
//   TextOut: m_aPoints = {at}, m_strText.  DrawText: m_rect, m_strText, m_nFormat.
//   StretchBlt: m_rect = destination, m_rcSource, m_sizeImage.  SetPixel: {at}, m_clrPixel.
struct CanvasRecord {
    CanvasRecordKind m_eKind = CanvasRecordKind::MoveTo;
    std::vector<CanvasPoint> m_aPoints;
    CanvasRect m_rect;
    QString m_strText;
    unsigned m_nFormat = 0;
    Brush m_brushArg;
    ColourRef m_clrPixel = 0;
    CanvasRect m_rcSource;
    QSize m_sizeImage;
    CanvasState m_state; // pen, brush, font, colours and modes at the time of the call
};

// A straight piece of a line as drawn by LineTo or Polyline, with its pen.
struct CanvasSegment {
    CanvasPoint m_ptFrom;
    CanvasPoint m_ptTo;
    Pen m_pen;
};

class RecordingCanvas : public Canvas {
public:
    explicit RecordingCanvas(CanvasSize size = {800, 600}) : m_size(size) {}

    CanvasSize Size() const override { return m_size; }
    void SetSize(CanvasSize size) { m_size = size; }

    const std::vector<CanvasRecord>& Records() const { return m_aRecords; }
    void Clear() { m_aRecords.clear(); }

    // All records of one kind, in drawing order.
    std::vector<CanvasRecord> OfKind(CanvasRecordKind kind) const;
    int Count(CanvasRecordKind kind) const;
    // Texts of TextOut and DrawText, in drawing order.
    QStringList Texts() const;
    // First TextOut or DrawText record whose text equals text; nullptr when none.
    const CanvasRecord* FindText(const QString& text) const;
    // Straight pieces drawn by LineTo and Polyline (zero-length ones included).
    std::vector<CanvasSegment> Segments() const;
    // Segments running exactly horizontally at y / vertically at x.
    std::vector<CanvasSegment> HorizontalAt(int y) const;
    std::vector<CanvasSegment> VerticalAt(int x) const;

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
    CanvasRecord& Add(CanvasRecordKind kind);

    CanvasSize m_size;
    std::vector<CanvasRecord> m_aRecords;
};
