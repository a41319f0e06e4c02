#include "EmfRecordBuilder.h"

#include <QtEndian>

#include <algorithm>
#include <bit>
#include <limits>

namespace {

// Page units to 0.01 mm at 96 dpi, for text records.
constexpr float kTextScale = 2540.0f / 96.0f;
// 96 dots per inch in dots per metre, for bitmap headers.
constexpr std::int32_t kPixelsPerMetre = 3780;

qsizetype Padded4(qsizetype n)
{
    return (n + 3) & ~qsizetype(3);
}

bool FitsInt16(CanvasPoint p)
{
    constexpr int lo = std::numeric_limits<std::int16_t>::min();
    constexpr int hi = std::numeric_limits<std::int16_t>::max();
    return p.x >= lo && p.x <= hi && p.y >= lo && p.y <= hi;
}

} // namespace

EmfRecordBuilder::EmfRecordBuilder(std::uint32_t type)
{
    U32(type);
    U32(0);
}

EmfRecordBuilder& EmfRecordBuilder::U32(std::uint32_t v)
{
    char b[4];
    qToLittleEndian(v, b);
    m_data.append(b, 4);
    return *this;
}

EmfRecordBuilder& EmfRecordBuilder::U16(std::uint16_t v)
{
    char b[2];
    qToLittleEndian(v, b);
    m_data.append(b, 2);
    return *this;
}

EmfRecordBuilder& EmfRecordBuilder::U8(std::uint8_t v)
{
    m_data.append(static_cast<char>(v));
    return *this;
}

EmfRecordBuilder& EmfRecordBuilder::F32(float v)
{
    return U32(std::bit_cast<std::uint32_t>(v));
}

EmfRecordBuilder& EmfRecordBuilder::Utf16(const QString& text, qsizetype units)
{
    for (qsizetype i = 0; i < units; ++i)
        U16(i < text.size() ? text[i].unicode() : 0);
    return *this;
}

EmfRecordBuilder& EmfRecordBuilder::Bytes(const QByteArray& bytes)
{
    m_data.append(bytes);
    return *this;
}

EmfRecordBuilder& EmfRecordBuilder::Pad4()
{
    while (m_data.size() % 4 != 0)
        m_data.append('\0');
    return *this;
}

QByteArray EmfRecordBuilder::Take()
{
    Pad4();
    qToLittleEndian(static_cast<std::uint32_t>(m_data.size()), m_data.data() + 4);
    return std::move(m_data);
}

QByteArray EmfRecordBuilder::Simple(std::uint32_t type, std::uint32_t value)
{
    return EmfRecordBuilder(type).U32(value).Take();
}

QByteArray EmfRecordBuilder::CreatePen(std::uint32_t handle, const Pen& pen)
{
    return EmfRecordBuilder(Emf::CreatePen)
        .U32(handle)
        .U32(static_cast<std::uint32_t>(pen.m_eStyle))
        .I32(pen.m_nWidth)
        .I32(0)
        .U32(pen.m_clrColour)
        .Take();
}

QByteArray EmfRecordBuilder::CreateBrush(std::uint32_t handle, const Brush& brush)
{
    return EmfRecordBuilder(Emf::CreateBrushIndirect)
        .U32(handle)
        .U32(static_cast<std::uint32_t>(brush.m_eStyle))
        .U32(brush.m_clrColour)
        .U32(static_cast<std::uint32_t>(brush.m_eHatch))
        .Take();
}

QByteArray EmfRecordBuilder::CreateFont(std::uint32_t handle, const FontDesc& font)
{
    // The face is the one the window asked for; readers map it to their own fonts.
    const QString face = font.m_strFace.left(31);
    EmfRecordBuilder r(Emf::ExtCreateFontIndirectW);
    r.U32(handle)
        .I32(font.m_nHeight)
        .I32(font.m_nWidth)
        .I32(font.m_nEscapement)
        .I32(font.m_nEscapement) // each character turns with the base line
        .I32(font.m_nWeight)
        .U8(font.m_bItalic ? 1 : 0)
        .U8(font.m_bUnderline ? 1 : 0)
        .U8(0) // strike-out
        .U8(Emf::kDefaultCharset)
        .U8(0) // output precision: default
        .U8(0) // clip precision: default
        .U8(0) // quality: default
        .U8(0) // pitch and family: default
        .Utf16(face, 32)
        .Utf16(face, 64)       // full name
        .Utf16(QString(), 32); // style
    for (int i = 0; i < 6; ++i)
        r.U32(0); // version, style size, match, reserved, vendor, culture
    for (int i = 0; i < 12; ++i)
        r.U8(0); // PANOSE (any) and padding
    return r.Take();
}

QByteArray EmfRecordBuilder::Poly(std::uint32_t type16, std::uint32_t type32, std::span<const CanvasPoint> points,
                                  const EmfRectL& bounds)
{
    const bool small = std::all_of(points.begin(), points.end(), FitsInt16);
    EmfRecordBuilder r(small ? type16 : type32);
    r.Rect(bounds).U32(static_cast<std::uint32_t>(points.size()));
    for (const CanvasPoint& p : points) {
        if (small)
            r.I16(static_cast<std::int16_t>(p.x)).I16(static_cast<std::int16_t>(p.y));
        else
            r.Point(p);
    }
    return r.Take();
}

QByteArray EmfRecordBuilder::Blt(const CanvasRect& rect, std::uint32_t rop)
{
    EmfRecordBuilder r(Emf::BitBlt);
    r.Rect(EmfRectL{rect.left, rect.top, rect.right - 1, rect.bottom - 1})
        .Point({rect.left, rect.top})
        .Point({rect.Width(), rect.Height()})
        .U32(rop)
        .Point({0, 0});
    for (float f : {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f})
        r.F32(f); // source transform: identity
    r.U32(0)      // source background colour
        .U32(Emf::kDibRgbColours);
    for (int i = 0; i < 4; ++i)
        r.U32(0); // no source bitmap
    return r.Take();
}

QByteArray EmfRecordBuilder::StretchDib(const CanvasRect& dest, const QImage& image, qsizetype maxBytes)
{
    const qint64 w = image.width();
    const qint64 h = image.height();
    const qint64 stride = (w * 3 + 3) & ~qint64(3);
    const qint64 bits = stride * h;
    if (w <= 0 || h <= 0 || image.format() != QImage::Format_RGB32
        || bits + Emf::kStretchDiBitsFixedSize + Emf::kBitmapInfoHeaderSize > maxBytes)
        return {};

    QByteArray pixels(static_cast<qsizetype>(bits), '\0');
    for (qint64 y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(static_cast<int>(y)));
        char* out = pixels.data() + (h - 1 - y) * stride;
        for (qint64 x = 0; x < w; ++x) {
            out[3 * x] = static_cast<char>(qBlue(line[x]));
            out[3 * x + 1] = static_cast<char>(qGreen(line[x]));
            out[3 * x + 2] = static_cast<char>(qRed(line[x]));
        }
    }
    EmfRecordBuilder r(Emf::StretchDiBits);
    r.Rect(EmfRectL{dest.left, dest.top, dest.right - 1, dest.bottom - 1})
        .Point({dest.left, dest.top})
        .Point({0, 0})
        .Point({static_cast<int>(w), static_cast<int>(h)})
        .U32(Emf::kStretchDiBitsFixedSize)
        .U32(Emf::kBitmapInfoHeaderSize)
        .U32(Emf::kStretchDiBitsFixedSize + Emf::kBitmapInfoHeaderSize)
        .U32(static_cast<std::uint32_t>(bits))
        .U32(Emf::kDibRgbColours)
        .U32(Emf::kRopSrcCopy)
        .Point({dest.Width(), dest.Height()});
    r.U32(Emf::kBitmapInfoHeaderSize)
        .Point({static_cast<int>(w), static_cast<int>(h)}) // positive height: bottom-up rows
        .U16(1)
        .U16(24)
        .U32(0) // no compression
        .U32(static_cast<std::uint32_t>(bits))
        .Point({kPixelsPerMetre, kPixelsPerMetre})
        .U32(0)
        .U32(0)
        .Bytes(pixels);
    return r.Take();
}

QByteArray EmfRecordBuilder::Text(const EmfRectL& bounds, CanvasPoint at, const QString& text,
                                  std::span<const std::int32_t> dx, const CanvasRect* clip)
{
    const qsizetype n = text.size();
    EmfRecordBuilder r(Emf::ExtTextOutW);
    r.Rect(bounds)
        .U32(Emf::kGraphicsModeCompatible)
        .F32(kTextScale)
        .F32(kTextScale)
        .Point(at)
        .U32(static_cast<std::uint32_t>(n))
        .U32(Emf::kExtTextOutFixedSize)
        .U32(clip ? Emf::kTextOptionClipped : 0);
    if (clip)
        r.Rect(*clip);
    else
        r.Rect(EmfRectL{0, 0, -1, -1});
    r.U32(static_cast<std::uint32_t>(Emf::kExtTextOutFixedSize + Padded4(2 * n))).Utf16(text, n).Pad4();
    for (qsizetype i = 0; i < n; ++i)
        r.I32(i < static_cast<qsizetype>(dx.size()) ? dx[static_cast<std::size_t>(i)] : 0);
    return r.Take();
}

qsizetype EmfRecordBuilder::HeaderSize(qsizetype descriptionUnits)
{
    return Emf::kHeaderFixedSize + Padded4(2 * descriptionUnits);
}

QByteArray EmfRecordBuilder::Header(const HeaderFields& f)
{
    EmfRecordBuilder r(Emf::Header);
    r.Rect(f.m_rcBounds)
        .Rect(f.m_rcFrame)
        .U32(Emf::kSignature)
        .U32(Emf::kVersion)
        .U32(f.m_nBytes)
        .U32(f.m_nRecords)
        .U16(f.m_nHandles)
        .U16(0)
        .U32(static_cast<std::uint32_t>(f.m_strDescription.size()))
        .U32(Emf::kHeaderFixedSize)
        .U32(0) // no palette
        .Point({f.m_szDevice.cx, f.m_szDevice.cy})
        .Point({f.m_szMillimetres.cx, f.m_szMillimetres.cy})
        .U32(0)
        .U32(0)
        .U32(0) // no pixel format, no OpenGL
        .Point({f.m_szMicrometres.cx, f.m_szMicrometres.cy})
        .Utf16(f.m_strDescription, f.m_strDescription.size());
    return r.Take();
}
