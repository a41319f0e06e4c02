// Colour packing and the font stand-ins: face mapping to installed families,
// the height sign rule, width by stretching, weight.
#include "QtPrinters.h"
#include "Colour.h"
#include "FontFactory.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <gtest/gtest.h>

TEST(Colour, PacksRedInTheLowByteAndConverts)
{
    struct Case {
        int r, g, b;
        ColourRef packed;
    };
    const Case cases[] = {
        {255, 0, 0, 0x0000FFu}, {0, 255, 0, 0x00FF00u}, {0, 0, 255, 0xFF0000u},
        {255, 255, 0, 0x00FFFFu}, {130, 130, 130, 0x828282u}, {1, 2, 3, 0x030201u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.packed);
        const ColourRef v = MakeColour(c.r, c.g, c.b);
        EXPECT_EQ(v, c.packed);
        EXPECT_EQ(GetRValue(v), c.r);
        EXPECT_EQ(GetGValue(v), c.g);
        EXPECT_EQ(GetBValue(v), c.b);
        EXPECT_EQ(ToQColor(v), QColor(c.r, c.g, c.b));
        EXPECT_EQ(FromQColor(ToQColor(v)), v);
        EXPECT_EQ(FromArgb(ToArgb(v)), v);
    }
    // Flag bits above the blue byte do not leak into the colour.
    EXPECT_EQ(ToQColor(0x02000000u | MakeColour(10, 20, 30)), QColor(10, 20, 30));
}

TEST(FontFactory, ClassicFacesResolveToInstalledStandIns)
{
    struct Case {
        const char* face;
        const char* family;
    };
    const Case cases[] = {
        {"Century Gothic", "URW Gothic"},
        {"Arial", "Liberation Sans"},
        {"Tahoma", "DejaVu Sans"},
        {"DejaVu Sans Mono", "DejaVu Sans Mono"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.face);
        EXPECT_EQ(FontFactory::MappedFamily(c.face), c.family);
        const QFontInfo info(FontFactory::MakeQFont(MakeFontDesc(c.face, 16)));
        EXPECT_EQ(FontFactory::PlainFamily(info.family()), c.family);
    }
}

TEST(FontFactory, HeightSignRuleAndWeight)
{
    for (const char* face : {"Century Gothic", "Arial", "Tahoma"}) {
        SCOPED_TRACE(face);
        for (int h : {14, 16, 24}) {
            // Positive: the cell (ascent + descent) is the height asked for.
            const FontMetricsInfo cell = FontFactory::Metrics(MakeFontDesc(face, h));
            EXPECT_LE(cell.m_nHeight, h);
            EXPECT_GE(cell.m_nHeight, h - 1);
            // Negative: the character (em) height, so the cell is larger.
            const QFont em = FontFactory::MakeQFont(MakeFontDesc(face, -h));
            EXPECT_EQ(em.pixelSize(), h);
            EXPECT_GT(FontFactory::Metrics(MakeFontDesc(face, -h)).m_nHeight, cell.m_nHeight);
        }
        EXPECT_EQ(FontFactory::Metrics(MakeFontDesc(face, 0)).m_nHeight,
                  FontFactory::Metrics(MakeFontDesc(face, 16)).m_nHeight);
        EXPECT_EQ(QFontInfo(FontFactory::MakeQFont(MakeFontDesc(face, 16, 700))).weight(), 700);
        EXPECT_EQ(QFontInfo(FontFactory::MakeQFont(MakeFontDesc(face, 16, 400))).weight(), 400);
    }
}

TEST(FontFactory, WidthStretchesToTheAverageWidthAskedFor)
{
    FontDesc d = MakeFontDesc("Tahoma", 16, 700);
    const int natural = FontFactory::Metrics(d).m_nAveCharWidth;
    const int naturalText = FontFactory::TextWidth(d, "Frequenz Amplitude");
    for (int width : {4, 8, 14}) {
        SCOPED_TRACE(width);
        d.m_nWidth = width;
        EXPECT_NEAR(FontFactory::Metrics(d).m_nAveCharWidth, width, 1);
        EXPECT_NEAR(FontFactory::TextWidth(d, "Frequenz Amplitude"), naturalText * width / double(natural),
                    naturalText * 0.12);
        // The height is not touched by the width.
        EXPECT_EQ(FontFactory::Metrics(d).m_nHeight, FontFactory::Metrics(MakeFontDesc("Tahoma", 16, 700)).m_nHeight);
    }
}
