// The recording canvas: what each call keeps, the state saved with it, the
// query helpers, text measures equal to those of the image canvas, and the
// line layout of text in a rectangle that every canvas shares.
#include "QtPrinters.h"
#include "FontFactory.h"
#include "QtCanvas.h"
#include "RecordingCanvas.h"
#include "TextLayout.h"

#include <gtest/gtest.h>

namespace {

constexpr ColourRef kRed = MakeColour(255, 0, 0);
constexpr ColourRef kGrey = MakeColour(130, 130, 130);

TEST(RecordingCanvas, KeepsEachCallWithTheStateOfThatMoment)
{
    RecordingCanvas c({400, 300});
    c.SelectPen(Pen::Solid(1, kRed));
    c.MoveTo(20, 410);
    c.LineTo(380, 410);
    c.SelectPen(Pen::Styled(PenStyle::Dot, 1, kGrey));
    c.SetRasterMode(RasterMode::Invert);
    c.SelectBrush(Brush::Hatched(HatchStyle::DiagCross, kBlack));
    c.Rectangle(30, 10, 10, 290); // stored normalised
    c.SetRasterMode(RasterMode::Copy);
    c.SelectFont(MakeFontDesc("Century Gothic", 14, 400, 900));
    c.SetTextAlign(TextAlign::Right | TextAlign::Baseline);
    c.SetBkMode(BkMode::Transparent);
    c.SetTextColour(kRed);
    c.TextOut(0, 150, "-10dB");
    c.FillRect({0, 0, 5, 5}, Brush::Solid(kGrey));

    const auto& r = c.Records();
    ASSERT_EQ(r.size(), 5u);
    EXPECT_EQ(r[0].m_eKind, CanvasRecordKind::MoveTo);
    EXPECT_EQ(r[1].m_eKind, CanvasRecordKind::LineTo);
    EXPECT_EQ(r[1].m_aPoints, (std::vector<CanvasPoint>{{20, 410}, {380, 410}}));
    EXPECT_EQ(r[1].m_state.m_pen, Pen::Solid(1, kRed));
    EXPECT_EQ(r[1].m_state.m_eRasterMode, RasterMode::Copy);

    EXPECT_EQ(r[2].m_eKind, CanvasRecordKind::Rectangle);
    EXPECT_EQ(r[2].m_rect, (CanvasRect{10, 10, 30, 290}));
    EXPECT_EQ(r[2].m_state.m_pen.m_eStyle, PenStyle::Dot);
    EXPECT_EQ(r[2].m_state.m_brush, Brush::Hatched(HatchStyle::DiagCross, kBlack));
    EXPECT_EQ(r[2].m_state.m_eRasterMode, RasterMode::Invert);

    EXPECT_EQ(r[3].m_eKind, CanvasRecordKind::TextOut);
    EXPECT_EQ(r[3].m_strText, "-10dB");
    EXPECT_EQ(r[3].m_aPoints.front(), (CanvasPoint{0, 150}));
    EXPECT_EQ(r[3].m_state.m_font.m_strFace, "Century Gothic");
    EXPECT_EQ(r[3].m_state.m_font.m_nEscapement, 900);
    EXPECT_EQ(r[3].m_state.m_nTextAlign, TextAlign::Right | TextAlign::Baseline);
    EXPECT_EQ(r[3].m_state.m_eBkMode, BkMode::Transparent);
    EXPECT_EQ(r[3].m_state.m_clrText, kRed);

    EXPECT_EQ(r[4].m_brushArg, Brush::Solid(kGrey));
    EXPECT_EQ(r[4].m_state.m_brush, Brush::Hatched(HatchStyle::DiagCross, kBlack));

    // Query helpers.
    EXPECT_EQ(c.Count(CanvasRecordKind::LineTo), 1);
    EXPECT_EQ(c.HorizontalAt(410).size(), 1u);
    EXPECT_TRUE(c.VerticalAt(20).empty());
    EXPECT_EQ(c.Texts(), QStringList{"-10dB"});
    ASSERT_NE(c.FindText("-10dB"), nullptr);
    EXPECT_EQ(c.FindText("-20dB"), nullptr);
}

TEST(RecordingCanvas, CurrentPositionSaveRestoreAndCurves)
{
    RecordingCanvas c;
    c.SelectPen(Pen::Solid(2, kRed));
    c.Save();
    c.SelectPen(Pen::Null());
    c.SetBkColour(kGrey);
    c.MoveTo(5, 6);
    c.Restore();
    EXPECT_EQ(c.State().m_pen, Pen::Solid(2, kRed));
    EXPECT_EQ(c.State().m_clrBk, kWhite);
    EXPECT_EQ((c.CurrentPosition()), (CanvasPoint{0, 0})); // saved with the state
    c.Restore();                                           // nothing saved: no change
    EXPECT_EQ(c.State().m_pen, Pen::Solid(2, kRed));

    c.MoveTo(20, 100);
    const CanvasPoint seven[] = {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {7, 7}};
    EXPECT_TRUE(c.PolyBezierTo(seven));
    const CanvasRecord* bez = &c.Records().back();
    ASSERT_EQ(bez->m_eKind, CanvasRecordKind::PolyBezierTo);
    EXPECT_EQ(bez->m_aPoints.size(), 7u); // the start and two whole segments
    EXPECT_EQ(bez->m_aPoints.front(), (CanvasPoint{20, 100}));
    EXPECT_EQ((c.CurrentPosition()), (CanvasPoint{6, 6}));

    c.MoveTo(40, 110);
    c.ArcTo({17, 100, 35, 118}, {35, 110}, {17, 107});
    const CanvasRecord& arc = c.Records().back();
    EXPECT_EQ(arc.m_aPoints, (std::vector<CanvasPoint>{{40, 110}, {35, 110}, {17, 107}}));
    EXPECT_EQ(arc.m_rect, (CanvasRect{17, 100, 35, 118}));
    // The arc ends where the end ray meets the ellipse (centre 25.5, 108.5).
    EXPECT_NEAR(c.CurrentPosition().x, 17, 1);
    EXPECT_NEAR(c.CurrentPosition().y, 107, 1);

    const CanvasPoint poly[] = {{0, 0}, {10, 0}, {10, 10}};
    c.Polyline(poly);
    EXPECT_EQ(c.VerticalAt(10).size(), 1u);
    EXPECT_EQ(c.HorizontalAt(0).size(), 1u);
}

TEST(RecordingCanvas, TextMeasuresEqualThoseOfTheImageCanvas)
{
    QImage image(200, 100, QImage::Format_RGB32);
    QtCanvas screen(image);
    RecordingCanvas recorder({200, 100});
    const FontDesc fonts[] = {
        MakeFontDesc("Century Gothic", 16),
        MakeFontDesc("Century Gothic", 14, 400, 900),
        MakeFontDesc("Arial", 16),
        MakeFontDesc("Tahoma", 16, 700),
        [] {
            FontDesc d = MakeFontDesc("Tahoma", 16, 700);
            d.m_nWidth = 8;
            return d;
        }(),
        MakeFontDesc("Arial", -12),
    };
    const QString texts[] = {"Tonumfang Klavier", "c", "-125dB", "1,5 kHz", "Säulen Größe"};
    for (const FontDesc& f : fonts) {
        screen.SelectFont(f);
        recorder.SelectFont(f);
        EXPECT_EQ(screen.GetTextMetrics().m_nHeight, recorder.GetTextMetrics().m_nHeight);
        for (const QString& t : texts) {
            SCOPED_TRACE(qPrintable(f.m_strFace + " " + t));
            const CanvasSize s = screen.GetTextExtent(t);
            EXPECT_EQ(s, recorder.GetTextExtent(t));
            EXPECT_GT(s.cx, 0);
            EXPECT_EQ(s.cy, screen.GetTextMetrics().m_nHeight);
        }
        const CanvasRect box{0, 0, 60, 100};
        const QString para = "Diese Darstellung kann nur dann richtig funktionieren";
        EXPECT_EQ(screen.DrawText(para, box, DrawTextFormat::WordBreak),
                  recorder.DrawText(para, box, DrawTextFormat::WordBreak));
    }
    // Word breaking makes the text taller than one line.
    EXPECT_GT(recorder.DrawText("Diese Darstellung kann nur", {0, 0, 60, 100}, DrawTextFormat::WordBreak),
              recorder.GetTextMetrics().m_nHeight);
    EXPECT_EQ(recorder.DrawText("Diese Darstellung kann nur", {0, 0, 60, 100}, DrawTextFormat::SingleLine),
              recorder.GetTextMetrics().m_nHeight);
}

} // namespace

namespace {

TEST(TextLayout, BreaksAndPlacesLinesInTheRectangle)
{
    const FontDesc font = MakeFontDesc("Century Gothic", 14);
    const int lineHeight = FontFactory::Metrics(font).m_nHeight;
    const CanvasRect narrow{10, 20, 110, 200};

    // Word breaking: no line crosses the right edge, no line starts or ends with the break's space.
    const QString warning = "Diese Darstellung kann nur dann richtig funktionieren, \nwenn die Musik einstimmig ist";
    const auto lines = TextLayout::Lay(font, warning, narrow, DrawTextFormat::WordBreak);
    ASSERT_GE(lines.size(), 4u);
    QStringList words;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(qPrintable(lines[i].m_strText));
        EXPECT_LE(lines[i].m_nWidth, narrow.Width());
        EXPECT_EQ(lines[i].m_ptTopLeft, (CanvasPoint{10, 20 + static_cast<int>(i) * lineHeight}));
        EXPECT_FALSE(lines[i].m_strText.startsWith(' '));
        words << lines[i].m_strText.split(' ', Qt::SkipEmptyParts);
    }
    EXPECT_EQ(words, QString(warning).replace('\n', ' ').split(' ', Qt::SkipEmptyParts));

    // Without word breaking only "\n" breaks; a word wider than the box keeps its own line.
    EXPECT_EQ(TextLayout::Lay(font, "a b\n\nc", narrow, 0).size(), 3u);
    const auto longWord = TextLayout::Lay(font, "x Lyapunovexponentenberechnung y", {0, 0, 30, 100},
                                          DrawTextFormat::WordBreak);
    ASSERT_EQ(longWord.size(), 3u);
    EXPECT_EQ(longWord[1].m_strText, "Lyapunovexponentenberechnung");

    struct Case {
        unsigned format;
        int x; // of "1,5 kHz" in a 100-pixel box from x = 10
        int y; // in a box 20 .. 200
    };
    const int w = FontFactory::TextWidth(font, "1,5 kHz");
    const Case cases[] = {
        {DrawTextFormat::Left | DrawTextFormat::Top, 10, 20},
        {DrawTextFormat::Right, 110 - w, 20},
        {DrawTextFormat::Centre, 10 + (100 - w) / 2, 20},
        {DrawTextFormat::SingleLine | DrawTextFormat::VCentre, 10, 20 + (180 - lineHeight) / 2},
        {DrawTextFormat::SingleLine | DrawTextFormat::Bottom | DrawTextFormat::Right, 110 - w, 200 - lineHeight},
        {DrawTextFormat::VCentre, 10, 20}, // vertical placement needs SingleLine
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        const auto one = TextLayout::Lay(font, "1,5 kHz", narrow, c.format);
        ASSERT_EQ(one.size(), 1u);
        EXPECT_EQ(one[0].m_ptTopLeft, (CanvasPoint{c.x, c.y}));
    }
}

} // namespace
