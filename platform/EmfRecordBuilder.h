// Builds the bytes of one enhanced-metafile record: little-endian fields
// appended in order, the size filled in and padded to four bytes, plus the
// larger records the metafile canvas writes (objects, text, block transfers,
// pictures, header).
#pragma once

#include "CanvasTypes.h"
#include "EmfRecords.h"
#include "FontDesc.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>
#include <span>

class EmfRecordBuilder {
public:
    explicit EmfRecordBuilder(std::uint32_t type);

    EmfRecordBuilder& U32(std::uint32_t v);
    EmfRecordBuilder& I32(std::int32_t v) { return U32(static_cast<std::uint32_t>(v)); }
    EmfRecordBuilder& U16(std::uint16_t v);
    EmfRecordBuilder& I16(std::int16_t v) { return U16(static_cast<std::uint16_t>(v)); }
    EmfRecordBuilder& U8(std::uint8_t v);
    EmfRecordBuilder& F32(float v);
    EmfRecordBuilder& Point(CanvasPoint p) { return I32(p.x).I32(p.y); }
    EmfRecordBuilder& Rect(const EmfRectL& r) { return I32(r.left).I32(r.top).I32(r.right).I32(r.bottom); }
    EmfRecordBuilder& Rect(const CanvasRect& r) { return I32(r.left).I32(r.top).I32(r.right).I32(r.bottom); }
    // Exactly units UTF-16 code units of text, cut or filled up with zeros.
    EmfRecordBuilder& Utf16(const QString& text, qsizetype units);
    EmfRecordBuilder& Bytes(const QByteArray& bytes);
    EmfRecordBuilder& Pad4();
    // The finished record (size field set, padded).
    QByteArray Take();

    // A record of one 32-bit value (modes, colours, handles).
    static QByteArray Simple(std::uint32_t type, std::uint32_t value);
    static QByteArray CreatePen(std::uint32_t handle, const Pen& pen);
    static QByteArray CreateBrush(std::uint32_t handle, const Brush& brush);
    // LOGFONTW with full name, style and PANOSE; escapement and orientation alike.
    static QByteArray CreateFont(std::uint32_t handle, const FontDesc& font);
    // Polyline, Bézier or polygon record: 16-bit points when they all fit, else 32-bit.
    static QByteArray Poly(std::uint32_t type16, std::uint32_t type32, std::span<const CanvasPoint> points,
                           const EmfRectL& bounds);
    // Block transfer without a source (pattern copy, inverting) over rect.
    static QByteArray Blt(const CanvasRect& rect, std::uint32_t rop);
    // A 24-bit bottom-up picture of image (RGB32) stretched into dest; empty
    // when it would be larger than maxBytes.
    static QByteArray StretchDib(const CanvasRect& dest, const QImage& image, qsizetype maxBytes);
    // Text at its reference point with one advance per UTF-16 unit; clipped to
    // *clip when given.
    static QByteArray Text(const EmfRectL& bounds, CanvasPoint at, const QString& text,
                           std::span<const std::int32_t> dx, const CanvasRect* clip);

    struct HeaderFields {
        EmfRectL m_rcBounds;              // pixels
        EmfRectL m_rcFrame;               // 0.01 mm
        std::uint32_t m_nBytes = 0;       // the whole file
        std::uint32_t m_nRecords = 0;     // header and end record included
        std::uint16_t m_nHandles = 1;     // object table, entry 0 included
        CanvasSize m_szDevice;            // pixels
        CanvasSize m_szMillimetres;
        CanvasSize m_szMicrometres;
        QString m_strDescription;
    };
    static QByteArray Header(const HeaderFields& fields);
    // Size of the header record of a description of that many UTF-16 units.
    static qsizetype HeaderSize(qsizetype descriptionUnits);

private:
    QByteArray m_data;
};
