// Value types of the drawing interface: points and rectangles in integer
// logical pixels (y downwards), pens, brushes and the mode constants.  The
// numeric values of the styles and flags are those an enhanced metafile
// stores, so every back-end can pass them on unchanged.
//
// The geometric types keep the short member names of the classic drawing
// rules (x, y, left, top, right, bottom) so coordinates read as they are given.
#pragma once

#include "Colour.h"

#include <cstdint>
#include <utility>

struct CanvasPoint {
    int x = 0;
    int y = 0;
    bool operator==(const CanvasPoint&) const = default;
};

// Rectangle with exclusive right and bottom edges: (left, top) .. (right, bottom).
struct CanvasRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(CanvasPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    // The same rectangle with left <= right and top <= bottom.
    CanvasRect Normalised() const;
    bool operator==(const CanvasRect&) const = default;
};

inline CanvasRect CanvasRect::Normalised() const
{
    CanvasRect r = *this;
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    return r;
}

struct CanvasSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const CanvasSize&) const = default;
};

enum class PenStyle : std::uint32_t { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, Null = 5 };

// Pen of lines and outlines.  Widths above 1 draw solid with round ends and joins;
// the gaps of a styled 1-pixel pen take the background colour in opaque mode.
struct Pen {
    PenStyle m_eStyle = PenStyle::Solid;
    int m_nWidth = 1; // pixels; 0 and 1 both mean one pixel
    ColourRef m_clrColour = kBlack;

    static Pen Solid(int width, ColourRef colour) { return {PenStyle::Solid, width, colour}; }
    static Pen Styled(PenStyle style, int width, ColourRef colour) { return {style, width, colour}; }
    static Pen Null() { return {PenStyle::Null, 1, kBlack}; }
    bool IsNull() const { return m_eStyle == PenStyle::Null; }
    bool operator==(const Pen&) const = default;
};

enum class BrushStyle : std::uint32_t { Solid = 0, Null = 1, Hatched = 2 };
enum class HatchStyle : std::uint32_t {
    Horizontal = 0, // -----
    Vertical = 1,   // |||||
    FDiagonal = 2,  // \\\\\ (down from left to right)
    BDiagonal = 3,  // ///// (up from left to right)
    Cross = 4,      // +++++
    DiagCross = 5   // xxxxx
};

// Brush of areas.  A hatched brush draws its lines in its colour; the spaces
// between take the background colour in opaque mode and are left alone in
// transparent mode.
struct Brush {
    BrushStyle m_eStyle = BrushStyle::Solid;
    ColourRef m_clrColour = kWhite;
    HatchStyle m_eHatch = HatchStyle::Horizontal; // only for Hatched

    static Brush Solid(ColourRef colour) { return {BrushStyle::Solid, colour, HatchStyle::Horizontal}; }
    static Brush Hatched(HatchStyle hatch, ColourRef colour) { return {BrushStyle::Hatched, colour, hatch}; }
    static Brush Null() { return {BrushStyle::Null, kBlack, HatchStyle::Horizontal}; }
    bool IsNull() const { return m_eStyle == BrushStyle::Null; }
    bool operator==(const Brush&) const = default;
};

// Background of text, of the gaps of styled pens and of the spaces of hatch brushes.
enum class BkMode : std::uint32_t { Transparent = 1, Opaque = 2 };

// How lines and filled shapes combine with the picture.  Text, FillRect,
// SetPixel and StretchBlt always copy.
enum class RasterMode : std::uint32_t {
    Invert = 6,  // every pixel the shape covers is inverted; colours do not matter
    XorPen = 7,  // pixel = colour XOR pixel
    Copy = 13    // pixel = colour
};

// Reference point of TextOut: one horizontal and one vertical flag combined by "|".
namespace TextAlign {
inline constexpr unsigned Left = 0;
inline constexpr unsigned Right = 2;
inline constexpr unsigned Centre = 6;
inline constexpr unsigned Top = 0;
inline constexpr unsigned Bottom = 8;
inline constexpr unsigned Baseline = 24;
inline constexpr unsigned HorizontalMask = 6;
inline constexpr unsigned VerticalMask = 24;
} // namespace TextAlign

// Format of DrawText, combined by "|".  Vertical centring and bottom alignment
// apply to single-line text; without SingleLine the text starts at the top.
namespace DrawTextFormat {
inline constexpr unsigned Left = 0x0;
inline constexpr unsigned Centre = 0x1;
inline constexpr unsigned Right = 0x2;
inline constexpr unsigned Top = 0x0;
inline constexpr unsigned VCentre = 0x4;
inline constexpr unsigned Bottom = 0x8;
inline constexpr unsigned WordBreak = 0x10;
inline constexpr unsigned SingleLine = 0x20;
inline constexpr unsigned NoClip = 0x100;
} // namespace DrawTextFormat
