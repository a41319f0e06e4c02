// Pixel checks of the image canvas: the classic pixel rules of lines and
// rectangles, brushes, raster modes, curves, text placement and rotation.
#include "FontFactory.h"
#include "QtCanvas.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr ColourRef kRed = MakeColour(255, 0, 0);
constexpr ColourRef kGreen = MakeColour(0, 255, 0);
constexpr ColourRef kBlue = MakeColour(0, 0, 255);

class QtCanvasTest : public ::testing::Test {
protected:
    QtCanvasTest() : m_image(120, 100, QImage::Format_RGB32) { m_image.fill(Qt::black); }

    ColourRef At(int x, int y)
    {
        m_canvas.Flush();
        return FromArgb(m_image.pixel(x, y));
    }

    // Bounding box of all pixels that differ from the background colour.
    QRect Ink(ColourRef background = kBlack)
    {
        m_canvas.Flush();
        QRect box;
        for (int y = 0; y < m_image.height(); ++y)
            for (int x = 0; x < m_image.width(); ++x)
                if (FromArgb(m_image.pixel(x, y)) != background)
                    box |= QRect(x, y, 1, 1);
        return box;
    }

    QImage m_image;
    QtCanvas m_canvas{m_image};
};

TEST_F(QtCanvasTest, LinesLeaveOutTheirLastPixel)
{
    m_canvas.SelectPen(Pen::Solid(1, kWhite));
    m_canvas.MoveTo(10, 10);
    m_canvas.LineTo(20, 10);
    m_canvas.LineTo(20, 30);
    EXPECT_EQ(At(9, 10), kBlack);
    EXPECT_EQ(At(10, 10), kWhite);
    EXPECT_EQ(At(19, 10), kWhite);
    EXPECT_EQ(At(20, 10), kWhite);  // start of the second line
    EXPECT_EQ(At(20, 29), kWhite);
    EXPECT_EQ(At(20, 30), kBlack);  // end of the second line
    EXPECT_EQ((m_canvas.CurrentPosition()), (CanvasPoint{20, 30}));

    const CanvasPoint pts[] = {{40, 50}, {60, 50}, {60, 60}};
    m_canvas.Polyline(pts);
    EXPECT_EQ(At(40, 50), kWhite);
    EXPECT_EQ(At(60, 59), kWhite);
    EXPECT_EQ(At(60, 60), kBlack);

    // A 3-pixel pen is centred on the line.
    m_canvas.SelectPen(Pen::Solid(3, kRed));
    m_canvas.MoveTo(10, 80);
    m_canvas.LineTo(50, 80);
    for (int y : {79, 80, 81})
        EXPECT_EQ(At(30, y), kRed) << y;
    EXPECT_EQ(At(30, 78), kBlack);
    EXPECT_EQ(At(30, 82), kBlack);
}

TEST_F(QtCanvasTest, RectangleOutlineFillAndExclusiveEdges)
{
    m_canvas.SelectPen(Pen::Solid(1, kRed));
    m_canvas.SelectBrush(Brush::Solid(kGreen));
    m_canvas.Rectangle(10, 10, 20, 20);
    EXPECT_EQ(At(10, 10), kRed);
    EXPECT_EQ(At(19, 19), kRed);
    EXPECT_EQ(At(19, 15), kRed);
    EXPECT_EQ(At(15, 15), kGreen);
    EXPECT_EQ(At(11, 18), kGreen);
    EXPECT_EQ(At(20, 20), kBlack);
    EXPECT_EQ(At(20, 15), kBlack);

    // Without a pen the fill is one pixel smaller at the right and bottom.
    m_canvas.SelectPen(Pen::Null());
    m_canvas.Rectangle(30, 10, 40, 20);
    EXPECT_EQ(At(30, 10), kGreen);
    EXPECT_EQ(At(38, 18), kGreen);
    EXPECT_EQ(At(39, 15), kBlack);
    EXPECT_EQ(At(35, 19), kBlack);

    // FillRect: exactly left .. right - 1, whatever the pen; a null brush draws nothing.
    m_canvas.FillRect({50, 10, 60, 20}, Brush::Solid(kBlue));
    EXPECT_EQ(Ink(), QRect(QPoint(10, 10), QPoint(59, 19)));
    EXPECT_EQ(At(59, 19), kBlue);
    m_canvas.FillRect({70, 10, 80, 20}, Brush::Null());
    EXPECT_EQ(At(75, 15), kBlack);

    // Reversed corners draw the same rectangle.
    m_canvas.SelectPen(Pen::Solid(1, kWhite));
    m_canvas.Rectangle(100, 60, 90, 50);
    EXPECT_EQ(At(90, 50), kWhite);
    EXPECT_EQ(At(99, 59), kWhite);
}

TEST_F(QtCanvasTest, HatchBrushUsesHatchColourAndBackgroundMode)
{
    m_canvas.SetBkColour(kWhite);
    m_canvas.SetBkMode(BkMode::Opaque);
    m_canvas.FillRect({0, 0, 32, 32}, Brush::Hatched(HatchStyle::Cross, kBlue));
    m_canvas.SetBkMode(BkMode::Transparent);
    m_canvas.FillRect({40, 0, 72, 32}, Brush::Hatched(HatchStyle::Cross, kBlue));

    int blueOpaque = 0, whiteOpaque = 0, blueTransparent = 0, blackTransparent = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const ColourRef o = At(x, y);
            const ColourRef t = At(x + 40, y);
            blueOpaque += o == kBlue;
            whiteOpaque += o == kWhite;
            blueTransparent += t == kBlue;
            blackTransparent += t == kBlack;
            // The same pattern in both, anchored to the canvas (40 is a multiple of 8).
            EXPECT_EQ(o == kBlue, t == kBlue) << x << "," << y;
        }
    }
    // A cross hatch sets 15 of every 64 pixels.
    EXPECT_EQ(blueOpaque, 16 * 15);
    EXPECT_EQ(whiteOpaque, 1024 - 16 * 15);
    EXPECT_EQ(blueTransparent, 16 * 15);
    EXPECT_EQ(blackTransparent, 1024 - 16 * 15);
}

TEST_F(QtCanvasTest, InvertAndXorModesTwiceRestoreThePicture)
{
    for (int x = 0; x < 120; ++x)
        for (int y = 0; y < 100; ++y)
            m_image.setPixel(x, y, qRgb(x * 2, y * 2, (x + y) % 256));
    const QImage before = m_image.copy();

    auto drawAll = [&] {
        m_canvas.SelectPen(Pen::Solid(1, MakeColour(50, 50, 50)));
        m_canvas.SelectBrush(Brush::Hatched(HatchStyle::DiagCross, kBlack));
        m_canvas.Rectangle(10, 10, 60, 90);
        m_canvas.SelectPen(Pen::Solid(3, kRed));
        m_canvas.MoveTo(5, 5);
        m_canvas.LineTo(110, 95);
        m_canvas.SelectBrush(Brush::Solid(kBlue));
        m_canvas.Ellipse(70, 20, 110, 60);
    };

    for (BkMode bk : {BkMode::Opaque, BkMode::Transparent}) {
        m_canvas.SetBkMode(bk);
        m_canvas.SetRasterMode(RasterMode::Invert);
        drawAll();
        // Invert mode: colours do not matter, covered pixels show their inverse.
        const QRgb original = before.pixel(10, 50);
        EXPECT_EQ(m_image.pixel(10, 50), qRgb(255 - qRed(original), 255 - qGreen(original), 255 - qBlue(original)));
        EXPECT_NE(m_image, before);
        drawAll();
        m_canvas.Flush();
        EXPECT_EQ(m_image, before);
    }

    m_canvas.SetRasterMode(RasterMode::XorPen);
    drawAll();
    const QRgb original = before.pixel(90, 40);
    EXPECT_EQ(m_image.pixel(90, 40) & 0xFFFFFFu, (original ^ 0x0000FFu) & 0xFFFFFFu); // blue brush
    drawAll();
    m_canvas.Flush();
    EXPECT_EQ(m_image, before);

    m_canvas.InvertRect({3, 3, 50, 40});
    EXPECT_EQ(At(3, 3), FromArgb(~before.pixel(3, 3)));
    EXPECT_EQ(At(50, 40), FromArgb(before.pixel(50, 40)));
    m_canvas.InvertRect({3, 3, 50, 40});
    m_canvas.Flush();
    EXPECT_EQ(m_image, before);
}

TEST_F(QtCanvasTest, InvertModeWithHatchCoversOnlyTheLinesWhenTransparent)
{
    m_canvas.SetRasterMode(RasterMode::Invert);
    m_canvas.SelectPen(Pen::Null());
    m_canvas.SelectBrush(Brush::Hatched(HatchStyle::Horizontal, kBlack));
    m_canvas.SetBkMode(BkMode::Transparent);
    m_canvas.Rectangle(0, 0, 17, 17); // fills 0 .. 15
    EXPECT_EQ(At(5, 0), kWhite);
    EXPECT_EQ(At(5, 8), kWhite);
    EXPECT_EQ(At(5, 3), kBlack);
    m_canvas.SetBkMode(BkMode::Opaque);
    m_canvas.Rectangle(40, 0, 57, 17);
    EXPECT_EQ(At(45, 3), kWhite);
    EXPECT_EQ(At(45, 8), kWhite);
}

TEST_F(QtCanvasTest, PolyBezierToEndsAtItsLastPointAndPassesTheMidpoint)
{
    m_canvas.SelectPen(Pen::Solid(1, kWhite));
    m_canvas.MoveTo(10, 70);
    const CanvasPoint pts[] = {{30, 10}, {60, 10}, {80, 70}, {99, 99}};
    EXPECT_TRUE(m_canvas.PolyBezierTo(pts)); // the fourth point is no whole segment
    EXPECT_EQ((m_canvas.CurrentPosition()), (CanvasPoint{80, 70}));
    const QRect ink = Ink();
    EXPECT_NEAR(ink.left(), 10, 1);
    EXPECT_NEAR(ink.right(), 80, 1);
    EXPECT_NEAR(ink.bottom(), 70, 1);
    EXPECT_NEAR(ink.top(), 25, 1); // the curve's highest point, at t = 1/2
    bool midpoint = false;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            midpoint = midpoint || At(45 + dx, 25 + dy) == kWhite;
    EXPECT_TRUE(midpoint);

    const CanvasPoint two[] = {{1, 1}, {2, 2}};
    EXPECT_FALSE(m_canvas.PolyBezierTo(two));
    EXPECT_EQ((m_canvas.CurrentPosition()), (CanvasPoint{80, 70}));
}

TEST_F(QtCanvasTest, ArcToRunsCounterClockwiseFromTheCurrentPosition)
{
    m_canvas.SelectPen(Pen::Solid(1, kWhite));
    m_canvas.MoveTo(30, 30);
    // Circle of radius 20 around (30, 30); from the east ray to the north ray.
    m_canvas.ArcTo({10, 10, 51, 51}, {90, 30}, {30, 0});
    EXPECT_EQ((m_canvas.CurrentPosition()), (CanvasPoint{30, 10}));
    EXPECT_EQ(At(40, 30), kWhite);  // the line to the arc's start
    const QRect ink = Ink();
    EXPECT_EQ(ink.left(), 30);
    EXPECT_NEAR(ink.top(), 10, 1);
    EXPECT_NEAR(ink.right(), 50, 1);
    EXPECT_EQ(ink.bottom(), 30);    // nothing of the lower half
}

TEST_F(QtCanvasTest, TextAlignmentPlacesTheCellAroundTheReferencePoint)
{
    m_canvas.SelectFont(MakeFontDesc("Arial", 16));
    m_canvas.SetTextColour(kWhite);
    m_canvas.SetBkMode(BkMode::Transparent);
    const QString text = "HHH";
    const CanvasSize ext = m_canvas.GetTextExtent(text);
    const FontMetricsInfo m = m_canvas.GetTextMetrics();

    struct Case {
        unsigned align;
        int inkLeft;        // expected ink left relative to x
        int inkBottom;      // expected bottom of "H" relative to y
    };
    const Case cases[] = {
        {TextAlign::Left | TextAlign::Top, 0, m.m_nAscent - 1},
        {TextAlign::Right | TextAlign::Top, -ext.cx, m.m_nAscent - 1},
        {TextAlign::Centre | TextAlign::Baseline, -ext.cx / 2, -1},
        {TextAlign::Left | TextAlign::Bottom, 0, -m.m_nDescent - 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.align);
        m_image.fill(Qt::black);
        m_canvas.SetTextAlign(c.align);
        m_canvas.TextOut(60, 50, text);
        const QRect ink = Ink();
        EXPECT_NEAR(ink.left(), 60 + c.inkLeft, 2);
        EXPECT_NEAR(ink.right(), 60 + c.inkLeft + ext.cx - 1, 3);
        EXPECT_NEAR(ink.bottom(), 50 + c.inkBottom, 1);
    }
    // Right-aligned text ends at x.
    m_image.fill(Qt::black);
    m_canvas.SetTextAlign(TextAlign::Right | TextAlign::Top);
    m_canvas.TextOut(100, 10, "1000 Hz");
    EXPECT_LE(Ink().right(), 99);
    EXPECT_GE(Ink().right(), 96);
}

TEST_F(QtCanvasTest, OpaqueTextFillsTheCellWithTheBackgroundColour)
{
    m_canvas.SelectFont(MakeFontDesc("Century Gothic", 16));
    m_canvas.SetTextColour(kWhite);
    m_canvas.SetBkColour(kBlue);
    m_canvas.SetBkMode(BkMode::Opaque);
    m_canvas.TextOut(10, 10, "a b");
    const CanvasSize ext = m_canvas.GetTextExtent("a b");
    EXPECT_EQ(Ink(), QRect(10, 10, ext.cx, ext.cy));
    EXPECT_EQ(At(10, 10), kBlue);

    m_image.fill(Qt::black);
    m_canvas.SetBkMode(BkMode::Transparent);
    m_canvas.TextOut(10, 10, "a b");
    EXPECT_EQ(At(10, 10), kBlack);
}

TEST_F(QtCanvasTest, EscapementTurnsTextCounterClockwise)
{
    m_canvas.SetTextColour(kWhite);
    m_canvas.SetBkMode(BkMode::Transparent);
    m_canvas.SelectFont(MakeFontDesc("Century Gothic", 14));
    const CanvasSize upright = m_canvas.GetTextExtent("Amplitude");
    m_canvas.TextOut(10, 60, "Amplitude");
    const QRect flat = Ink();
    EXPECT_GT(flat.width(), flat.height());

    m_image.fill(Qt::black);
    m_canvas.SelectFont(MakeFontDesc("Century Gothic", 14, 400, 900));
    EXPECT_EQ(m_canvas.GetTextExtent("Amplitude"), upright); // measured unrotated
    m_canvas.TextOut(40, 90, "Amplitude");
    const QRect turned = Ink();
    EXPECT_GT(turned.height(), turned.width());
    // Reads upwards from the reference point; the cell's top is on the left.
    EXPECT_NEAR(turned.bottom(), 89, 2);
    EXPECT_NEAR(turned.height(), flat.width(), 2);
    EXPECT_GE(turned.left(), 40);
    EXPECT_LE(turned.right(), 40 + upright.cy);
}

TEST_F(QtCanvasTest, StyledPenGapsTakeTheBackgroundInOpaqueMode)
{
    m_canvas.SelectPen(Pen::Styled(PenStyle::Dot, 1, kWhite));
    m_canvas.SetBkColour(kBlue);
    m_canvas.SetBkMode(BkMode::Opaque);
    m_canvas.MoveTo(0, 10);
    m_canvas.LineTo(100, 10);
    m_canvas.SetBkMode(BkMode::Transparent);
    m_canvas.MoveTo(0, 20);
    m_canvas.LineTo(100, 20);
    int white = 0, blue = 0, black = 0;
    for (int x = 0; x < 99; ++x) {
        white += At(x, 10) == kWhite;
        blue += At(x, 10) == kBlue;
        black += At(x, 20) == kBlack;
        EXPECT_EQ(At(x, 10) == kWhite, At(x, 20) == kWhite) << x;
    }
    EXPECT_GT(white, 20);
    EXPECT_EQ(white + blue, 99);
    EXPECT_EQ(black, blue);
}

TEST_F(QtCanvasTest, ClipEllipseStretchBltAndSetPixel)
{
    QImage picture(2, 2, QImage::Format_RGB888);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(1, 0, qRgb(0, 255, 0));
    picture.setPixel(0, 1, qRgb(0, 0, 255));
    picture.setPixel(1, 1, qRgb(255, 255, 255));
    m_canvas.StretchBlt({20, 20, 40, 40}, picture);
    EXPECT_EQ(At(20, 20), kRed);
    EXPECT_EQ(At(29, 29), kRed);
    EXPECT_EQ(At(30, 20), kGreen);
    EXPECT_EQ(At(20, 39), kBlue);
    EXPECT_EQ(At(39, 39), kWhite);
    EXPECT_EQ(At(40, 40), kBlack);
    m_canvas.StretchBlt({60, 20, 70, 30}, picture, {1, 1, 2, 2});
    EXPECT_EQ(At(65, 25), kWhite);

    m_image.fill(Qt::black);
    m_canvas.SetClipRect({0, 0, 50, 100});
    m_canvas.SelectPen(Pen::Solid(1, kWhite));
    m_canvas.SelectBrush(Brush::Solid(kRed));
    m_canvas.Ellipse(20, 20, 81, 61);
    m_canvas.SetPixel(70, 70, kGreen);
    m_canvas.SetPixel(10, 70, kGreen);
    EXPECT_EQ(At(40, 40), kRed);
    EXPECT_EQ(At(20, 40), kWhite);
    EXPECT_EQ(At(21, 21), kBlack); // corner of the box, outside the ellipse
    EXPECT_EQ(Ink().right(), 49);
    EXPECT_EQ(At(10, 70), kGreen);
    m_canvas.ResetClip();
    m_canvas.Ellipse(20, 20, 81, 61);
    EXPECT_EQ(Ink().right(), 80);
}

} // namespace

namespace {

TEST(QtCanvas, EmptyImageTakesEveryCallWithoutDrawing)
{
    QImage empty;
    QtCanvas c(empty);
    EXPECT_EQ(c.Size(), (CanvasSize{0, 0}));
    c.MoveTo(0, 0);
    c.LineTo(10, 10);
    c.Rectangle(0, 0, 5, 5);
    c.FillRect({0, 0, 5, 5}, Brush::Solid(kWhite));
    c.TextOut(0, 0, "x");
    c.DrawText("x", {0, 0, 5, 5}, 0);
    c.SetPixel(0, 0, kWhite);
    c.InvertRect({0, 0, 5, 5});
    c.SetRasterMode(RasterMode::Invert);
    c.Ellipse(0, 0, 5, 5);
    c.Flush();
    EXPECT_TRUE(empty.isNull());
}

} // namespace
