#include "EmfCanvas.h"

#include "CanvasGeometry.h"
#include "EmfRecordBuilder.h"
#include "FontFactory.h"
#include "TextLayout.h"

#include <QFontMetrics>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

// Pictures larger than this are not written further (the format counts bytes in 32 bits).
constexpr qsizetype kMaxFileBytes = 0x40000000;
// Texts up to this many UTF-16 units get advances measured with kerning.
constexpr qsizetype kExactAdvanceUnits = 256;
// Steps of the reference device: 480 pixels are exactly 127 mm at 96 dpi.
constexpr int kDeviceStep = 480;
constexpr int kDeviceStepMm = 127;
constexpr unsigned kTextAlignMask = TextAlign::HorizontalMask | TextAlign::VerticalMask;

// The pen as it is written: widths above one draw solid, 0 and 1 are one pixel.
Pen WrittenPen(const Pen& pen)
{
    Pen w = pen;
    w.m_nWidth = std::max(1, pen.m_nWidth);
    if (w.m_nWidth > 1)
        w.m_eStyle = PenStyle::Solid;
    w.m_clrColour &= 0x00FFFFFFu;
    return w;
}

Brush WrittenBrush(const Brush& brush)
{
    Brush w = brush;
    w.m_clrColour &= 0x00FFFFFFu;
    if (w.m_eStyle != BrushStyle::Hatched)
        w.m_eHatch = HatchStyle::Horizontal;
    return w;
}

// The font as it is written: the default height and weight spelled out; upright
// for text laid out in a rectangle, which is never turned.
FontDesc WrittenFont(const FontDesc& font, bool upright)
{
    FontDesc w = font;
    if (w.m_nHeight == 0)
        w.m_nHeight = 16;
    w.m_nWeight = w.m_nWeight <= 0 ? 400 : std::clamp(w.m_nWeight, 100, 900);
    if (upright)
        w.m_nEscapement = 0;
    return w;
}

bool IsStyledPen(const Pen& pen)
{
    return pen.m_nWidth <= 1 && pen.m_eStyle != PenStyle::Solid && pen.m_eStyle != PenStyle::Null;
}

} // namespace

EmfCanvas::EmfCanvas(CanvasSize size, const QString& title, FrameMode frame)
    : m_size(size), m_strDescription(Description(title)), m_eFrame(frame), m_aObjects(1)
{
    EmitSimple(Emf::SetMapMode, Emf::kMapModeText);
}

EmfCanvas::~EmfCanvas() = default;

QString EmfCanvas::Description(const QString& title)
{
    return QStringLiteral("TONARO Soundanalyse") + QChar(0) + title + QChar(0) + QChar(0);
}

// --- records -------------------------------------------------------------

void EmfCanvas::Emit(const QByteArray& record)
{
    if (m_body.size() + record.size() > kMaxFileBytes)
        return;
    m_body.append(record);
    ++m_nRecords;
}

void EmfCanvas::EmitSimple(std::uint32_t type, std::uint32_t value)
{
    Emit(EmfRecordBuilder::Simple(type, value));
}

// --- device-context state ------------------------------------------------

// A clip rectangle lives in a saved level of its own: replacing or removing it
// restores the level without clipping first.
void EmfCanvas::SyncClip()
{
    const CanvasState& s = State();
    if (m_bClipWritten == s.m_bClip && (!s.m_bClip || m_rcClipWritten == s.m_rcClip))
        return;
    EndClipLevel();
    if (s.m_bClip) {
        Emit(EmfRecordBuilder(Emf::SaveDc).Take());
        m_aSavedDc.push_back(m_dc);
        const CanvasRect& r = s.m_rcClip;
        Emit(EmfRecordBuilder(Emf::IntersectClipRect).Rect(r).Take());
        m_bClipWritten = true;
        m_rcClipWritten = r;
    }
}

// Restoring brings back everything the level was saved with, selected objects
// included; objects selected only inside the level are deleted after it.
void EmfCanvas::EndClipLevel()
{
    if (!m_bClipWritten || m_aSavedDc.empty())
        return;
    EmitSimple(Emf::RestoreDc, static_cast<std::uint32_t>(-1));
    const DcState inner = m_dc;
    m_dc = m_aSavedDc.back();
    m_aSavedDc.pop_back();
    // Readers differ on whether the position comes back; the next connected
    // primitive moves explicitly.
    m_dc.m_oCurrent.reset();
    m_bClipWritten = false;
    for (std::uint32_t handle : inner.m_aSelected)
        ReleaseIfUnused(handle);
}

void EmfCanvas::SyncBk(bool needed)
{
    if (!needed)
        return;
    const CanvasState& s = State();
    if (m_dc.m_oBkMode != s.m_eBkMode) {
        EmitSimple(Emf::SetBkMode, static_cast<std::uint32_t>(s.m_eBkMode));
        m_dc.m_oBkMode = s.m_eBkMode;
    }
    const ColourRef bk = s.m_clrBk & 0x00FFFFFFu;
    if (s.m_eBkMode == BkMode::Opaque && m_dc.m_oBkColour != bk) {
        EmitSimple(Emf::SetBkColor, bk);
        m_dc.m_oBkColour = bk;
    }
}

void EmfCanvas::SyncRop2(RasterMode mode)
{
    if (m_dc.m_oRop2 == mode)
        return;
    EmitSimple(Emf::SetRop2, static_cast<std::uint32_t>(mode));
    m_dc.m_oRop2 = mode;
}

void EmfCanvas::SyncTextColour()
{
    const ColourRef c = State().m_clrText & 0x00FFFFFFu;
    if (m_dc.m_oTextColour == c)
        return;
    EmitSimple(Emf::SetTextColor, c);
    m_dc.m_oTextColour = c;
}

void EmfCanvas::SyncTextAlign(unsigned align)
{
    if (m_dc.m_oTextAlign == align)
        return;
    EmitSimple(Emf::SetTextAlign, align);
    m_dc.m_oTextAlign = align;
}

void EmfCanvas::SyncCurrent(CanvasPoint from)
{
    if (m_dc.m_oCurrent == from)
        return;
    Emit(EmfRecordBuilder(Emf::MoveToEx).Point(from).Take());
    m_dc.m_oCurrent = from;
}

void EmfCanvas::SyncPolyFill()
{
    if (m_dc.m_bPolyFillSet)
        return;
    EmitSimple(Emf::SetPolyFillMode, Emf::kPolyFillAlternate);
    m_dc.m_bPolyFillSet = true;
}

// --- objects ---------------------------------------------------------------

void EmfCanvas::SelectPenObject(const Pen& pen)
{
    SelectInSlot(PenSlot, WrittenPen(pen), pen.IsNull() ? Emf::kStockNullPen : 0);
}

void EmfCanvas::SelectBrushObject(const Brush& brush)
{
    SelectInSlot(BrushSlot, WrittenBrush(brush), brush.IsNull() ? Emf::kStockNullBrush : 0);
}

void EmfCanvas::SelectFontObject(const FontDesc& font)
{
    SelectInSlot(FontSlot, font, 0);
}

// Selects a stock object, or an object of that description: one still alive
// (selected in this or a saved level) or a new one.  The object it replaces is
// deleted once no level has it selected.
void EmfCanvas::SelectInSlot(Slot slot, const ObjectDesc& desc, std::uint32_t stock)
{
    std::uint32_t want = stock;
    if (want == 0) {
        for (std::size_t h = 1; h < m_aObjects.size() && want == 0; ++h)
            if (m_aObjects[h].m_bAlive && m_aObjects[h].m_desc == desc)
                want = static_cast<std::uint32_t>(h);
        if (want == 0)
            want = CreateObject(desc);
    }
    const std::uint32_t old = m_dc.m_aSelected[slot];
    if (want == 0 || want == old)
        return;
    EmitSimple(Emf::SelectObject, want);
    m_dc.m_aSelected[slot] = want;
    ReleaseIfUnused(old);
}

std::uint32_t EmfCanvas::CreateObject(const ObjectDesc& desc)
{
    std::size_t handle = 1;
    while (handle < m_aObjects.size() && m_aObjects[handle].m_bAlive)
        ++handle;
    const auto ih = static_cast<std::uint32_t>(handle);

    QByteArray record;
    if (const auto* pen = std::get_if<Pen>(&desc))
        record = EmfRecordBuilder::CreatePen(ih, *pen);
    else if (const auto* brush = std::get_if<Brush>(&desc))
        record = EmfRecordBuilder::CreateBrush(ih, *brush);
    else
        record = EmfRecordBuilder::CreateFont(ih, std::get<FontDesc>(desc));
    if (m_body.size() + record.size() > kMaxFileBytes)
        return 0;
    if (handle == m_aObjects.size())
        m_aObjects.emplace_back();
    m_aObjects[handle] = {true, desc};
    m_nMaxHandle = std::max(m_nMaxHandle, ih);
    Emit(record);
    return ih;
}

bool EmfCanvas::Referenced(std::uint32_t handle) const
{
    auto in = [handle](const DcState& dc) {
        return std::find(std::begin(dc.m_aSelected), std::end(dc.m_aSelected), handle)
               != std::end(dc.m_aSelected);
    };
    return in(m_dc) || std::any_of(m_aSavedDc.begin(), m_aSavedDc.end(), in);
}

void EmfCanvas::ReleaseIfUnused(std::uint32_t handle)
{
    if (handle == 0 || (handle & Emf::kStockFlag) != 0 || handle >= m_aObjects.size())
        return;
    if (!m_aObjects[handle].m_bAlive || Referenced(handle))
        return;
    EmitSimple(Emf::DeleteObject, handle);
    m_aObjects[handle].m_bAlive = false;
}

void EmfCanvas::PrepareStroke()
{
    const CanvasState& s = State();
    SyncClip();
    SelectPenObject(s.m_pen);
    SyncRop2(s.m_eRasterMode);
    SyncBk(IsStyledPen(s.m_pen));
}

void EmfCanvas::PrepareShape()
{
    const CanvasState& s = State();
    SyncClip();
    SelectPenObject(s.m_pen);
    SelectBrushObject(s.m_brush);
    SyncRop2(s.m_eRasterMode);
    SyncBk(IsStyledPen(s.m_pen) || s.m_brush.m_eStyle == BrushStyle::Hatched);
}

// Text, pixels and pictures always copy, whatever the raster mode of lines.
void EmfCanvas::PrepareCopyOnly()
{
    SyncClip();
    SyncRop2(RasterMode::Copy);
}

// --- bounds -------------------------------------------------------------------

void EmfCanvas::AddBounds(EmfRectL box)
{
    if (m_bClipWritten) {
        box.left = std::max(box.left, m_rcClipWritten.left);
        box.top = std::max(box.top, m_rcClipWritten.top);
        box.right = std::min(box.right, m_rcClipWritten.right - 1);
        box.bottom = std::min(box.bottom, m_rcClipWritten.bottom - 1);
    }
    if (box.right < box.left || box.bottom < box.top)
        return;
    if (!m_bAnyBounds) {
        m_bounds = box;
        m_bAnyBounds = true;
        return;
    }
    m_bounds.left = std::min(m_bounds.left, box.left);
    m_bounds.top = std::min(m_bounds.top, box.top);
    m_bounds.right = std::max(m_bounds.right, box.right);
    m_bounds.bottom = std::max(m_bounds.bottom, box.bottom);
}

// A box grown by the half width of the current pen.
EmfRectL EmfCanvas::StrokeBox(EmfRectL box) const
{
    const int width = WrittenPen(State().m_pen).m_nWidth;
    const int grow = width > 1 ? (width + 1) / 2 : 0;
    return {box.left - grow, box.top - grow, box.right + grow, box.bottom + grow};
}

EmfRectL EmfCanvas::PointBox(std::span<const CanvasPoint> points)
{
    EmfRectL b{points.front().x, points.front().y, points.front().x, points.front().y};
    for (const CanvasPoint& p : points) {
        b.left = std::min(b.left, p.x);
        b.top = std::min(b.top, p.y);
        b.right = std::max(b.right, p.x);
        b.bottom = std::max(b.bottom, p.y);
    }
    return b;
}

// --- primitives -------------------------------------------------------------

void EmfCanvas::DoMoveTo(CanvasPoint)
{
    // The position is written when a connected primitive needs it.
}

void EmfCanvas::DoLineTo(CanvasPoint from, CanvasPoint to)
{
    if (!Drawing())
        return;
    PrepareStroke();
    SyncCurrent(from);
    Emit(EmfRecordBuilder(Emf::LineTo).Point(to).Take());
    m_dc.m_oCurrent = to;
    if (!State().m_pen.IsNull() && from != to) {
        const CanvasPoint pts[] = {from, to};
        AddBounds(StrokeBox(PointBox(pts)));
    }
}

void EmfCanvas::DoPolyline(std::span<const CanvasPoint> points)
{
    if (!Drawing())
        return;
    PrepareStroke();
    const EmfRectL box = PointBox(points);
    Emit(EmfRecordBuilder::Poly(Emf::Polyline16, Emf::Polyline, points, box));
    if (!State().m_pen.IsNull())
        AddBounds(StrokeBox(box));
}

void EmfCanvas::DoPolyBezierTo(CanvasPoint from, std::span<const CanvasPoint> points)
{
    if (!Drawing())
        return;
    PrepareStroke();
    SyncCurrent(from);
    const EmfRectL box = PointBox(points);
    Emit(EmfRecordBuilder::Poly(Emf::PolyBezierTo16, Emf::PolyBezierTo, points, box));
    m_dc.m_oCurrent = points.back();
    if (!State().m_pen.IsNull()) {
        // The curve lies inside the hull of its start and control points.
        AddBounds(StrokeBox({std::min(box.left, from.x), std::min(box.top, from.y),
                             std::max(box.right, from.x), std::max(box.bottom, from.y)}));
    }
}

void EmfCanvas::DoPolygon(std::span<const CanvasPoint> points)
{
    if (!Drawing())
        return;
    PrepareShape();
    SyncPolyFill();
    const EmfRectL box = PointBox(points);
    Emit(EmfRecordBuilder::Poly(Emf::Polygon16, Emf::Polygon, points, box));
    if (!State().m_pen.IsNull())
        AddBounds(StrokeBox(box));
    else if (!State().m_brush.IsNull())
        AddBounds(box);
}

void EmfCanvas::DoRectangle(const CanvasRect& rect)
{
    if (!Drawing() || rect.Width() < 1 || rect.Height() < 1)
        return;
    PrepareShape();
    Emit(EmfRecordBuilder(Emf::Rectangle).Rect(rect).Take());
    AddBounds(StrokeBox({rect.left, rect.top, rect.right - 1, rect.bottom - 1}));
}

void EmfCanvas::DoFillRect(const CanvasRect& rect, const Brush& brush)
{
    if (!Drawing())
        return;
    PrepareCopyOnly();
    SelectBrushObject(brush);
    SyncBk(brush.m_eStyle == BrushStyle::Hatched);
    WriteBlt(rect, Emf::kRopPatCopy);
}

void EmfCanvas::DoEllipse(const CanvasRect& rect)
{
    if (!Drawing() || rect.Width() < 1 || rect.Height() < 1)
        return;
    PrepareShape();
    Emit(EmfRecordBuilder(Emf::Ellipse).Rect(rect).Take());
    AddBounds(StrokeBox({rect.left, rect.top, rect.right - 1, rect.bottom - 1}));
}

void EmfCanvas::DoArcTo(CanvasPoint from, const CanvasRect& box, CanvasPoint start, CanvasPoint end)
{
    if (!Drawing())
        return;
    PrepareStroke();
    SyncCurrent(from);
    Emit(EmfRecordBuilder(Emf::ArcTo)
             .Rect(box)
             .Point(start)
             .Point(end)
             .Take());
    // A reader's end of the arc may differ by a rounding from the canvas's
    // current position; the next connected primitive moves there explicitly.
    m_dc.m_oCurrent.reset();
    if (!State().m_pen.IsNull()) {
        AddBounds(StrokeBox({std::min(box.left, from.x), std::min(box.top, from.y),
                             std::max(box.right - 1, from.x), std::max(box.bottom - 1, from.y)}));
    }
}

void EmfCanvas::DoTextOut(CanvasPoint at, const QString& text)
{
    if (!Drawing())
        return;
    WriteText(at, text, WrittenFont(State().m_font, false), State().m_nTextAlign & kTextAlignMask, nullptr);
}

void EmfCanvas::DoDrawText(const QString& text, const CanvasRect& rect, unsigned format)
{
    if (!Drawing())
        return;
    const FontDesc font = WrittenFont(State().m_font, true);
    const bool clip = (format & DrawTextFormat::NoClip) == 0;
    for (const TextLine& line : TextLayout::Lay(State().m_font, text, rect, format)) {
        if (!line.m_strText.isEmpty())
            WriteText(line.m_ptTopLeft, line.m_strText, font, TextAlign::Left | TextAlign::Top,
                      clip ? &rect : nullptr);
    }
}

// One text record: the reference point, the alignment, and the advance of each
// character as this program measures it, so readers with other fonts keep the
// widths and places of the screen.
void EmfCanvas::WriteText(CanvasPoint at, const QString& text, const FontDesc& font, unsigned align,
                          const CanvasRect* clip)
{
    PrepareCopyOnly();
    SelectFontObject(font);
    SyncTextColour();
    SyncTextAlign(align);
    SyncBk(true);

    const QFontMetrics fm(FontFactory::MakeQFont(font));
    const int width = FontFactory::TextWidth(font, text);
    const qsizetype n = text.size();
    // Short texts: each advance from the measured prefixes, kerning included.
    // Long ones: the advance of each character alone, the last one taking the
    // difference to the measured width.
    const bool exact = n <= kExactAdvanceUnits;
    std::vector<std::int32_t> dx(static_cast<std::size_t>(n), 0);
    int previous = 0;
    for (qsizetype i = 0; i < n; ++i) {
        // A surrogate pair is one character: its advance goes to the first unit.
        const qsizetype units = (text[i].isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate()) ? 2 : 1;
        const int advance = exact ? fm.horizontalAdvance(text.left(i + units))
                                  : previous + fm.horizontalAdvance(text.mid(i, units));
        dx[static_cast<std::size_t>(i)] = advance - previous;
        previous = advance;
        i += units - 1;
    }
    if (!exact) {
        qsizetype last = n - 1;
        if (last > 0 && text[last].isLowSurrogate() && text[last - 1].isHighSurrogate())
            --last;
        dx[static_cast<std::size_t>(last)] += width - previous;
    }

    const FontMetricsInfo m = FontFactory::Metrics(font);
    const CanvasPoint off = CanvasGeometry::TextCellOffset(align, width, m.m_nAscent, m.m_nHeight);
    // The text cell, turned about the reference point by the escapement.
    const double angle = FontFactory::RotationDegrees(font) * std::numbers::pi / 180.0;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    double minX = std::numeric_limits<double>::max(), minY = minX;
    double maxX = std::numeric_limits<double>::lowest(), maxY = maxX;
    for (const auto& [cx, cy] : {std::pair{off.x, off.y}, std::pair{off.x + width, off.y},
                                 std::pair{off.x, off.y + m.m_nHeight},
                                 std::pair{off.x + width, off.y + m.m_nHeight}}) {
        const double x = at.x + cx * c + cy * s;
        const double y = at.y - cx * s + cy * c;
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x);
        maxY = std::max(maxY, y);
    }
    EmfRectL box{static_cast<int>(std::floor(minX + 1e-9)), static_cast<int>(std::floor(minY + 1e-9)),
                 static_cast<int>(std::ceil(maxX - 1e-9)) - 1, static_cast<int>(std::ceil(maxY - 1e-9)) - 1};
    if (clip) {
        box.left = std::max(box.left, clip->left);
        box.top = std::max(box.top, clip->top);
        box.right = std::min(box.right, clip->right - 1);
        box.bottom = std::min(box.bottom, clip->bottom - 1);
    }
    Emit(EmfRecordBuilder::Text(box, at, text, dx, clip));
    AddBounds(box);
}

// A block transfer without a source: the brush (pattern copy) or the inverted destination.
void EmfCanvas::WriteBlt(const CanvasRect& rect, std::uint32_t rop)
{
    Emit(EmfRecordBuilder::Blt(rect, rop));
    AddBounds({rect.left, rect.top, rect.right - 1, rect.bottom - 1});
}

void EmfCanvas::DoStretchBlt(const CanvasRect& dest, const QImage& image, const CanvasRect& src)
{
    if (!Drawing())
        return;
    // Only the part shown is stored, as a bottom-up 24-bit picture with rows
    // padded to four bytes; a picture with alpha is flattened as on the screen.
    const QImage part = image.copy(CanvasGeometry::ToQRect(src)).convertToFormat(QImage::Format_RGB32);
    const QByteArray record = EmfRecordBuilder::StretchDib(dest, part, kMaxFileBytes - m_body.size());
    if (record.isEmpty())
        return;
    PrepareCopyOnly();
    if (!m_dc.m_bStretchModeSet) {
        EmitSimple(Emf::SetStretchBltMode, Emf::kStretchColorOnColor);
        m_dc.m_bStretchModeSet = true;
    }
    Emit(record);
    AddBounds({dest.left, dest.top, dest.right - 1, dest.bottom - 1});
}

void EmfCanvas::DoSetPixel(CanvasPoint at, ColourRef colour)
{
    if (!Drawing())
        return;
    PrepareCopyOnly();
    Emit(EmfRecordBuilder(Emf::SetPixelV).Point(at).U32(colour & 0x00FFFFFFu).Take());
    AddBounds({at.x, at.y, at.x, at.y});
}

void EmfCanvas::DoInvertRect(const CanvasRect& rect)
{
    if (!Drawing())
        return;
    SyncClip();
    WriteBlt(rect, Emf::kRopDstInvert);
}

// --- closing ----------------------------------------------------------------

// Leaves no clip level open and no object of ours selected or alive, then ends the file.
void EmfCanvas::CloseRecords()
{
    EndClipLevel();
    constexpr std::uint32_t stock[SlotCount] = {Emf::kStockBlackPen, Emf::kStockWhiteBrush, Emf::kStockSystemFont};
    for (int slot = 0; slot < SlotCount; ++slot) {
        const std::uint32_t handle = m_dc.m_aSelected[slot];
        if (handle == 0 || (handle & Emf::kStockFlag) != 0)
            continue;
        EmitSimple(Emf::SelectObject, stock[slot]);
        m_dc.m_aSelected[slot] = stock[slot];
        ReleaseIfUnused(handle);
    }
    // The end record is always written, even when the size limit dropped drawing records.
    m_body.append(EmfRecordBuilder(Emf::Eof).U32(0).U32(16).U32(Emf::kEofSize).Take());
    ++m_nRecords;
}

QByteArray EmfCanvas::HeaderRecord(std::uint32_t totalBytes, std::uint32_t records) const
{
    // The reference device covers the canvas in whole steps of 480 pixels
    // (127 mm at 96 dpi), so its size in millimetres is exact and readers that
    // scale by millimetres per pixel map every pixel exactly.
    auto device = [](int px) { return (std::max(1, px) + kDeviceStep - 1) / kDeviceStep * kDeviceStep; };
    const int devW = device(m_size.cx);
    const int devH = device(m_size.cy);
    EmfRecordBuilder::HeaderFields f;
    f.m_rcBounds = m_bAnyBounds ? m_bounds : EmfRectL{0, 0, -1, -1};
    f.m_rcFrame = {0, 0, PixelsToHundredthsMm(std::max(1, m_size.cx)), PixelsToHundredthsMm(std::max(1, m_size.cy))};
    if (m_eFrame == FrameMode::Bounds && m_bAnyBounds) {
        const EmfRectL& b = m_bounds;
        f.m_rcFrame = {PixelsToHundredthsMm(b.left), PixelsToHundredthsMm(b.top), PixelsToHundredthsMm(b.right + 1),
                       PixelsToHundredthsMm(b.bottom + 1)};
    }
    f.m_nBytes = totalBytes;
    f.m_nRecords = records;
    f.m_nHandles = static_cast<std::uint16_t>(std::min<std::uint32_t>(m_nMaxHandle + 1, 0xFFFF));
    f.m_szDevice = {devW, devH};
    f.m_szMillimetres = {devW / kDeviceStep * kDeviceStepMm, devH / kDeviceStep * kDeviceStepMm};
    f.m_szMicrometres = {devW / kDeviceStep * kDeviceStepMm * 1000, devH / kDeviceStep * kDeviceStepMm * 1000};
    f.m_strDescription = m_strDescription;
    return EmfRecordBuilder::Header(f);
}

QByteArray EmfCanvas::Finish()
{
    if (!m_bFinished) {
        CloseRecords();
        m_bFinished = true;
        const auto total = static_cast<std::uint32_t>(EmfRecordBuilder::HeaderSize(m_strDescription.size()) + m_body.size());
        m_file = HeaderRecord(total, m_nRecords + 1);
        m_file.append(m_body);
        m_body.clear();
    }
    return m_file;
}

bool EmfCanvas::SaveFile(const QString& path)
{
    const QByteArray bytes = Finish();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
