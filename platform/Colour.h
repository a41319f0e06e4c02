// Colour values as the program stores them (in profiles, dialogs and drawing
// state): 0x00BBGGRR, red in the low byte.  Helpers pack, unpack and convert.
#pragma once

#include <QColor>
#include <cstdint>

using ColourRef = std::uint32_t;

// Packs red, green and blue (0 .. 255 each; higher bits are dropped).
constexpr ColourRef MakeColour(int r, int g, int b)
{
    return static_cast<ColourRef>(r & 0xFF) | (static_cast<ColourRef>(g & 0xFF) << 8)
           | (static_cast<ColourRef>(b & 0xFF) << 16);
}

constexpr std::uint8_t GetRValue(ColourRef c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t GetGValue(ColourRef c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t GetBValue(ColourRef c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }

// Opaque QColor of the colour; the high byte of the value is ignored.
inline QColor ToQColor(ColourRef c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

// ColourRef of a QColor (alpha is dropped).
inline ColourRef FromQColor(const QColor& c) { return MakeColour(c.red(), c.green(), c.blue()); }

// Packed 0xAARRGGBB value of a colour with full alpha, as QImage::pixel returns it.
constexpr std::uint32_t ToArgb(ColourRef c)
{
    return 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(c)) << 16)
           | (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

// ColourRef of a 0xAARRGGBB value (alpha is dropped).
constexpr ColourRef FromArgb(std::uint32_t argb)
{
    return MakeColour(static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF),
                      static_cast<int>(argb & 0xFF));
}

inline constexpr ColourRef kBlack = MakeColour(0, 0, 0);
inline constexpr ColourRef kWhite = MakeColour(255, 255, 255);
