#include "RecordingCanvas.h"

#include <QStringList>

CanvasRecord& RecordingCanvas::Add(CanvasRecordKind kind)
{
    CanvasRecord& r = m_aRecords.emplace_back();
    r.m_eKind = kind;
    r.m_state = State();
    return r;
}

std::vector<CanvasRecord> RecordingCanvas::OfKind(CanvasRecordKind kind) const
{
    std::vector<CanvasRecord> out;
    for (const CanvasRecord& r : m_aRecords)
        if (r.m_eKind == kind)
            out.push_back(r);
    return out;
}

int RecordingCanvas::Count(CanvasRecordKind kind) const
{
    int n = 0;
    for (const CanvasRecord& r : m_aRecords)
        n += r.m_eKind == kind ? 1 : 0;
    return n;
}

QStringList RecordingCanvas::Texts() const
{
    QStringList out;
    for (const CanvasRecord& r : m_aRecords)
        if (r.m_eKind == CanvasRecordKind::TextOut || r.m_eKind == CanvasRecordKind::DrawText)
            out << r.m_strText;
    return out;
}

const CanvasRecord* RecordingCanvas::FindText(const QString& text) const
{
    for (const CanvasRecord& r : m_aRecords)
        if ((r.m_eKind == CanvasRecordKind::TextOut || r.m_eKind == CanvasRecordKind::DrawText)
            && r.m_strText == text)
            return &r;
    return nullptr;
}

std::vector<CanvasSegment> RecordingCanvas::Segments() const
{
    std::vector<CanvasSegment> out;
    for (const CanvasRecord& r : m_aRecords) {
        if (r.m_eKind != CanvasRecordKind::LineTo && r.m_eKind != CanvasRecordKind::Polyline)
            continue;
        for (std::size_t i = 1; i < r.m_aPoints.size(); ++i)
            out.push_back({r.m_aPoints[i - 1], r.m_aPoints[i], r.m_state.m_pen});
    }
    return out;
}

std::vector<CanvasSegment> RecordingCanvas::HorizontalAt(int y) const
{
    std::vector<CanvasSegment> out;
    for (const CanvasSegment& s : Segments())
        if (s.m_ptFrom.y == y && s.m_ptTo.y == y)
            out.push_back(s);
    return out;
}

std::vector<CanvasSegment> RecordingCanvas::VerticalAt(int x) const
{
    std::vector<CanvasSegment> out;
    for (const CanvasSegment& s : Segments())
        if (s.m_ptFrom.x == x && s.m_ptTo.x == x)
            out.push_back(s);
    return out;
}

void RecordingCanvas::DoMoveTo(CanvasPoint to)
{
    Add(CanvasRecordKind::MoveTo).m_aPoints = {to};
}

void RecordingCanvas::DoLineTo(CanvasPoint from, CanvasPoint to)
{
    Add(CanvasRecordKind::LineTo).m_aPoints = {from, to};
}

void RecordingCanvas::DoPolyline(std::span<const CanvasPoint> points)
{
    Add(CanvasRecordKind::Polyline).m_aPoints.assign(points.begin(), points.end());
}

void RecordingCanvas::DoPolyBezierTo(CanvasPoint from, std::span<const CanvasPoint> points)
{
    CanvasRecord& r = Add(CanvasRecordKind::PolyBezierTo);
    r.m_aPoints.push_back(from);
    r.m_aPoints.insert(r.m_aPoints.end(), points.begin(), points.end());
}

void RecordingCanvas::DoPolygon(std::span<const CanvasPoint> points)
{
    Add(CanvasRecordKind::Polygon).m_aPoints.assign(points.begin(), points.end());
}

void RecordingCanvas::DoRectangle(const CanvasRect& rect)
{
    Add(CanvasRecordKind::Rectangle).m_rect = rect;
}

void RecordingCanvas::DoFillRect(const CanvasRect& rect, const Brush& brush)
{
    CanvasRecord& r = Add(CanvasRecordKind::FillRect);
    r.m_rect = rect;
    r.m_brushArg = brush;
}

void RecordingCanvas::DoEllipse(const CanvasRect& rect)
{
    Add(CanvasRecordKind::Ellipse).m_rect = rect;
}

void RecordingCanvas::DoArcTo(CanvasPoint from, const CanvasRect& box, CanvasPoint start, CanvasPoint end)
{
    CanvasRecord& r = Add(CanvasRecordKind::ArcTo);
    r.m_aPoints = {from, start, end};
    r.m_rect = box;
}

void RecordingCanvas::DoTextOut(CanvasPoint at, const QString& text)
{
    CanvasRecord& r = Add(CanvasRecordKind::TextOut);
    r.m_aPoints = {at};
    r.m_strText = text;
}

void RecordingCanvas::DoDrawText(const QString& text, const CanvasRect& rect, unsigned format)
{
    CanvasRecord& r = Add(CanvasRecordKind::DrawText);
    r.m_rect = rect;
    r.m_strText = text;
    r.m_nFormat = format;
}

void RecordingCanvas::DoStretchBlt(const CanvasRect& dest, const QImage& image, const CanvasRect& src)
{
    CanvasRecord& r = Add(CanvasRecordKind::StretchBlt);
    r.m_rect = dest;
    r.m_rcSource = src;
    r.m_sizeImage = image.size();
}

void RecordingCanvas::DoSetPixel(CanvasPoint at, ColourRef colour)
{
    CanvasRecord& r = Add(CanvasRecordKind::SetPixel);
    r.m_aPoints = {at};
    r.m_clrPixel = colour;
}

void RecordingCanvas::DoInvertRect(const CanvasRect& rect)
{
    Add(CanvasRecordKind::InvertRect).m_rect = rect;
}
