// Numbers of the enhanced-metafile format shared by the writer (EmfCanvas,
// EmfRecordBuilder) and the checker (EmfReader): record types, fixed record
// sizes, stock objects, raster operations and the fixed fields of the header.
#pragma once

#include <cstdint>

// Rectangle as the file stores it; bounds and frames are inclusive on all sides.
struct EmfRectL {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const EmfRectL&) const = default;
};

namespace Emf {

// Record types.
enum RecordType : std::uint32_t {
    Header = 1,
    PolyBezier = 2,
    Polygon = 3,
    Polyline = 4,
    PolyBezierTo = 5,
    PolylineTo = 6,
    PolyPolyline = 7,
    PolyPolygon = 8,
    Eof = 14,
    SetPixelV = 15,
    SetMapMode = 17,
    SetBkMode = 18,
    SetPolyFillMode = 19,
    SetRop2 = 20,
    SetStretchBltMode = 21,
    SetTextAlign = 22,
    SetTextColor = 24,
    SetBkColor = 25,
    MoveToEx = 27,
    IntersectClipRect = 30,
    SaveDc = 33,
    RestoreDc = 34,
    SelectObject = 37,
    CreatePen = 38,
    CreateBrushIndirect = 39,
    DeleteObject = 40,
    Ellipse = 42,
    Rectangle = 43,
    CreatePalette = 49,
    LineTo = 54,
    ArcTo = 55,
    BitBlt = 76,
    StretchDiBits = 81,
    ExtCreateFontIndirectW = 82,
    ExtTextOutW = 84,
    PolyBezier16 = 85,
    Polygon16 = 86,
    Polyline16 = 87,
    PolyBezierTo16 = 88,
    PolylineTo16 = 89,
    CreateMonoBrush = 93,
    CreateDibPatternBrushPt = 94,
    ExtCreatePen = 95,
    LastKnownType = 122
};

// Header: fixed part with both extensions, before the description (bytes).
inline constexpr std::uint32_t kHeaderFixedSize = 108;
inline constexpr std::uint32_t kHeaderMinSize = 88;
inline constexpr std::uint32_t kSignature = 0x464D4520; // " EMF"
inline constexpr std::uint32_t kVersion = 0x00010000;

// Sizes of fixed-size records (bytes).
inline constexpr std::uint32_t kEofSize = 20;
inline constexpr std::uint32_t kLogFontSize = 92;        // LOGFONTW
inline constexpr std::uint32_t kLogFontPanoseSize = 320; // LOGFONTW with full name, style and PANOSE
inline constexpr std::uint32_t kBitBltSize = 100;        // without a source bitmap
inline constexpr std::uint32_t kStretchDiBitsFixedSize = 80;
inline constexpr std::uint32_t kExtTextOutFixedSize = 76;
inline constexpr std::uint32_t kPolyFixedSize = 28; // type, size, bounds, count
inline constexpr std::uint32_t kBitmapInfoHeaderSize = 40;

// Stock objects are selected by these numbers instead of a handle.
inline constexpr std::uint32_t kStockFlag = 0x80000000u;
inline constexpr std::uint32_t kStockWhiteBrush = kStockFlag | 0;
inline constexpr std::uint32_t kStockNullBrush = kStockFlag | 5;
inline constexpr std::uint32_t kStockBlackPen = kStockFlag | 7;
inline constexpr std::uint32_t kStockNullPen = kStockFlag | 8;
inline constexpr std::uint32_t kStockSystemFont = kStockFlag | 13;
inline constexpr std::uint32_t kStockLast = kStockFlag | 19;

// Raster operations of block transfers.
inline constexpr std::uint32_t kRopSrcCopy = 0x00CC0020;
inline constexpr std::uint32_t kRopPatCopy = 0x00F00021;
inline constexpr std::uint32_t kRopDstInvert = 0x00550009;

// Other constants written by the canvas.
inline constexpr std::uint32_t kMapModeText = 1;      // one logical unit = one device pixel
inline constexpr std::uint32_t kPolyFillAlternate = 1; // even-odd rule
inline constexpr std::uint32_t kStretchColorOnColor = 3; // no smoothing of stretched pictures
inline constexpr std::uint32_t kGraphicsModeCompatible = 1;
inline constexpr std::uint32_t kTextOptionClipped = 0x0004;
inline constexpr std::uint32_t kDibRgbColours = 0;
inline constexpr std::uint8_t kDefaultCharset = 1;

} // namespace Emf
