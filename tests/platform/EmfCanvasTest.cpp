// The metafile canvas read back with our own record reader: header, frame and
// description, the records each primitive writes, state and object records
// written only on change, handles balanced across clip levels, text with its
// font and advances, pixel pictures, and the faults the reader must catch.
#include "QtPrinters.h"
#include "EmfCanvas.h"
#include "EmfReader.h"
#include "EmfRecords.h"
#include "FontFactory.h"
#include "TempDir.h"
#include "TextLayout.h"

#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <numeric>
#include <vector>

namespace {

constexpr ColourRef kRed = MakeColour(255, 0, 0);
constexpr ColourRef kGreen = MakeColour(0, 255, 0);
constexpr ColourRef kBlue = MakeColour(0, 0, 255);

using Types = std::vector<std::uint32_t>;

// Reads the finished picture and fails the test when the reader rejects it.
::testing::AssertionResult ReadBack(EmfCanvas& canvas, EmfReader& reader)
{
    if (reader.Read(canvas.Finish()))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << reader.Error().toStdString();
}

// Colour of the pen selected when record `index` is played, following saved
// levels as playback does (stock pens count as black).
ColourRef PenColourAt(const EmfReader& reader, std::size_t index)
{
    std::map<std::uint32_t, ColourRef> pens;
    ColourRef selected = kBlack;
    std::vector<ColourRef> saved;
    const auto& records = reader.Records();
    for (std::size_t i = 0; i < index && i < records.size(); ++i) {
        const EmfRecordRef& r = records[i];
        if (r.m_nType == Emf::CreatePen) {
            pens[reader.U32(r, 8)] = reader.U32(r, 24);
        } else if (r.m_nType == Emf::SelectObject && pens.count(reader.U32(r, 8)) != 0) {
            selected = pens[reader.U32(r, 8)];
        } else if (r.m_nType == Emf::SaveDc) {
            saved.push_back(selected);
        } else if (r.m_nType == Emf::RestoreDc && !saved.empty()) {
            selected = saved.back();
            saved.pop_back();
        }
    }
    return selected;
}

std::size_t LastIndexOf(const EmfReader& reader, std::uint32_t type)
{
    const Types types = reader.Types();
    for (std::size_t i = types.size(); i-- > 0;)
        if (types[i] == type)
            return i;
    return types.size();
}

TEST(EmfCanvas, HeaderCarriesDescriptionDeviceAndCounts)
{
    EmfCanvas canvas({400, 300}, QStringLiteral("Wave Abbild"));
    canvas.Rectangle(10, 20, 110, 70);
    const QByteArray bytes = canvas.Finish();
    EmfReader reader;
    ASSERT_TRUE(reader.Read(bytes)) << reader.Error().toStdString();
    const EmfHeaderInfo& h = reader.Header();

    const QString expected = QStringLiteral("TONARO Soundanalyse") + QChar(0) + QStringLiteral("Wave Abbild")
                             + QChar(0) + QChar(0);
    EXPECT_EQ(h.m_strDescription, expected);
    // Stored as UTF-16LE right after the fixed header.
    const QByteArray utf16(reinterpret_cast<const char*>(expected.utf16()), expected.size() * 2);
    EXPECT_EQ(bytes.mid(Emf::kHeaderFixedSize, utf16.size()), utf16);
    EXPECT_EQ(qFromLittleEndian<std::uint32_t>(bytes.constData() + 60), static_cast<std::uint32_t>(expected.size()));

    EXPECT_EQ(h.m_nBytes, static_cast<std::uint32_t>(bytes.size()));
    EXPECT_EQ(h.m_nRecords, reader.Records().size() + 1);
    // A reference device of whole 480-pixel steps: its millimetres are exact at 96 dpi.
    EXPECT_EQ(h.m_szDevice, (CanvasSize{480, 480}));
    EXPECT_EQ(h.m_szMillimetres, (CanvasSize{127, 127}));
    EXPECT_EQ(h.m_szMicrometres, (CanvasSize{127000, 127000}));
    EmfCanvas wide({1000, 481}, QStringLiteral("T"));
    EmfReader wideReader;
    ASSERT_TRUE(ReadBack(wide, wideReader));
    EXPECT_EQ(wideReader.Header().m_szDevice, (CanvasSize{1440, 960}));
    EXPECT_EQ(wideReader.Header().m_szMillimetres, (CanvasSize{381, 254}));
    EXPECT_EQ(h.m_nHandles, 3); // table entry 0, the default pen and brush of the canvas
    EXPECT_EQ(reader.ObjectsCreated(), 2);
    EXPECT_EQ(reader.ObjectsDeleted(), 2);
    EXPECT_EQ(bytes.size() % 4, 0);
}

TEST(EmfCanvas, BoundsAndFrame)
{
    struct Case {
        const char* name;
        EmfCanvas::FrameMode mode;
        int penWidth;
        bool clip;
        EmfRectL bounds;
        EmfRectL frame;
    };
    const Case cases[] = {
        // The frame of a saved window is the whole canvas: 400 x 300 pixels in 0.01 mm.
        {"canvas frame", EmfCanvas::FrameMode::Canvas, 1, false, {10, 20, 109, 69}, {0, 0, 10583, 7937}},
        // A copy's frame is what was drawn (pixels 10 .. 109 cover 10 .. 110 in 0.01 mm).
        {"bounds frame", EmfCanvas::FrameMode::Bounds, 1, false, {10, 20, 109, 69}, {264, 529, 2910, 1852}},
        {"wide pen", EmfCanvas::FrameMode::Canvas, 5, false, {7, 17, 112, 72}, {0, 0, 10583, 7937}},
        {"clipped", EmfCanvas::FrameMode::Canvas, 1, true, {10, 20, 49, 49}, {0, 0, 10583, 7937}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EmfCanvas canvas({400, 300}, QStringLiteral("T"), c.mode);
        canvas.SelectPen(Pen::Solid(c.penWidth, kRed));
        if (c.clip)
            canvas.SetClipRect({0, 0, 50, 50});
        canvas.Rectangle(10, 20, 110, 70);
        EmfReader reader;
        ASSERT_TRUE(ReadBack(canvas, reader));
        EXPECT_EQ(reader.Header().m_rcBounds, c.bounds);
        EXPECT_EQ(reader.Header().m_rcFrame, c.frame);
    }

    // Nothing drawn: the empty bounds, and a copy falls back to the canvas frame.
    EmfCanvas empty({96, 48}, QStringLiteral("T"), EmfCanvas::FrameMode::Bounds);
    EmfReader reader;
    ASSERT_TRUE(ReadBack(empty, reader));
    EXPECT_EQ(reader.Header().m_rcBounds, (EmfRectL{0, 0, -1, -1}));
    EXPECT_EQ(reader.Header().m_rcFrame, (EmfRectL{0, 0, 2540, 1270}));
    EXPECT_EQ(reader.Types(), (Types{Emf::SetMapMode, Emf::Eof}));
}

TEST(EmfCanvas, StateAndObjectRecordsOnlyWhenChanged)
{
    EmfCanvas canvas({200, 200}, QStringLiteral("T"));
    canvas.SelectPen(Pen::Solid(1, kRed));
    canvas.MoveTo(0, 0);
    canvas.LineTo(10, 0);
    canvas.LineTo(10, 10); // same pen, position already there
    canvas.SelectBrush(Brush::Solid(kGreen));
    canvas.Rectangle(20, 20, 40, 40);
    canvas.SelectPen(Pen::Solid(2, kBlue));
    canvas.Rectangle(50, 50, 60, 60);
    canvas.SelectPen(Pen::Null());
    canvas.SelectBrush(Brush::Null());
    canvas.Ellipse(0, 0, 30, 20);
    canvas.SelectPen(Pen::Styled(PenStyle::Dash, 1, kRed)); // gaps take the background
    canvas.MoveTo(0, 100);
    canvas.LineTo(100, 100);
    canvas.SetBkMode(BkMode::Transparent);
    canvas.LineTo(100, 150);

    EmfReader reader;
    ASSERT_TRUE(ReadBack(canvas, reader));
    const Types expected = {
        Emf::SetMapMode,
        Emf::CreatePen, Emf::SelectObject, Emf::SetRop2, Emf::MoveToEx, Emf::LineTo,
        Emf::LineTo,
        Emf::CreateBrushIndirect, Emf::SelectObject, Emf::Rectangle,
        Emf::CreatePen, Emf::SelectObject, Emf::DeleteObject, Emf::Rectangle,
        Emf::SelectObject, Emf::DeleteObject, Emf::SelectObject, Emf::DeleteObject, Emf::Ellipse,
        Emf::CreatePen, Emf::SelectObject, Emf::SetBkMode, Emf::SetBkColor, Emf::MoveToEx, Emf::LineTo,
        Emf::SetBkMode, Emf::LineTo,
        Emf::SelectObject, Emf::DeleteObject, // closing: stock pen in, last pen deleted
        Emf::Eof};
    EXPECT_EQ(reader.Types(), expected);

    const auto& r = reader.Records();
    EXPECT_EQ(reader.U32(r[1], 8), 1u);              // first pen: handle 1
    EXPECT_EQ(reader.U32(r[1], 12), 0u);             // solid
    EXPECT_EQ(reader.U32(r[1], 24), kRed);
    EXPECT_EQ(reader.U32(r[3], 8), 13u);             // copy pen
    EXPECT_EQ(reader.I32(r[5], 8), 10);              // line to (10, 0)
    EXPECT_EQ(reader.U32(r[10], 8), 3u);             // second pen gets the next free handle
    EXPECT_EQ(reader.I32(r[10], 16), 2);             // width 2
    EXPECT_EQ(reader.U32(r[12], 8), 1u);             // the first pen is deleted once replaced
    EXPECT_EQ(reader.U32(r[14], 8), Emf::kStockNullPen);
    EXPECT_EQ(reader.U32(r[16], 8), Emf::kStockNullBrush);
    EXPECT_EQ(reader.U32(r[19], 8), 1u);             // a freed handle is used again
    EXPECT_EQ(reader.U32(r[19], 12), 1u);            // dashed
    EXPECT_EQ(reader.U32(r[21], 8), 2u);             // opaque
    EXPECT_EQ(reader.U32(r[22], 8), kWhite);
    EXPECT_EQ(reader.U32(r[25], 8), 1u);             // transparent
    EXPECT_EQ(reader.ObjectsCreated(), reader.ObjectsDeleted());
}

TEST(EmfCanvas, ClipLevelsKeepHandlesBalanced)
{
    EmfCanvas canvas({200, 200}, QStringLiteral("T"));
    canvas.SelectPen(Pen::Solid(1, kRed));
    canvas.MoveTo(0, 0);
    canvas.LineTo(50, 0);
    canvas.Save();
    canvas.SetClipRect({10, 10, 100, 100});
    canvas.SelectPen(Pen::Solid(1, kBlue));
    canvas.LineTo(50, 50);
    canvas.SetClipRect({20, 20, 80, 80}); // replaces the first clip
    canvas.LineTo(60, 60);
    canvas.Restore(); // red pen, no clip, position back at (50, 0)
    canvas.LineTo(100, 0);
    canvas.SetClipRect({0, 0, 10, 10});
    canvas.SelectPen(Pen::Solid(1, kGreen));
    canvas.LineTo(0, 10);
    canvas.ResetClip(); // the green pen stays the canvas's pen
    canvas.LineTo(5, 5);

    EmfReader reader; // rejects deleting an object that a saved level still holds
    ASSERT_TRUE(ReadBack(canvas, reader));
    EXPECT_EQ(reader.ObjectsCreated(), reader.ObjectsDeleted());

    const Types types = reader.Types();
    const auto clips = reader.OfType(Emf::IntersectClipRect);
    ASSERT_EQ(clips.size(), 3u);
    EXPECT_EQ((EmfRectL{reader.I32(clips[1], 8), reader.I32(clips[1], 12), reader.I32(clips[1], 16),
                        reader.I32(clips[1], 20)}),
              (EmfRectL{20, 20, 80, 80}));
    EXPECT_EQ(reader.OfType(Emf::SaveDc).size(), 3u);
    EXPECT_EQ(reader.OfType(Emf::RestoreDc).size(), 3u);
    for (const EmfRecordRef& r : reader.OfType(Emf::RestoreDc))
        EXPECT_EQ(reader.I32(r, 8), -1);

    // Each line is drawn with the canvas's pen of its moment, starting where the canvas says.
    const auto lines = reader.OfType(Emf::LineTo);
    ASSERT_EQ(lines.size(), 6u);
    const ColourRef colours[] = {kRed, kBlue, kBlue, kRed, kGreen, kGreen};
    std::size_t line = 0;
    for (std::size_t i = 0; i < types.size(); ++i) {
        if (types[i] != Emf::LineTo)
            continue;
        EXPECT_EQ(PenColourAt(reader, i), colours[line]) << "line " << line;
        ++line;
    }
    // After each restore the start is written again: (50, 0) after Restore(), (0, 10) after ResetClip().
    const auto moves = reader.OfType(Emf::MoveToEx);
    ASSERT_GE(moves.size(), 3u);
    const EmfRecordRef& afterRestore = moves[moves.size() - 2];
    EXPECT_EQ((CanvasPoint{reader.I32(afterRestore, 8), reader.I32(afterRestore, 12)}), (CanvasPoint{50, 0}));
    EXPECT_EQ((CanvasPoint{reader.I32(moves.back(), 8), reader.I32(moves.back(), 12)}), (CanvasPoint{0, 10}));
}

TEST(EmfCanvas, TextRecordsCarryFontPlaceAndAdvances)
{
    EmfCanvas canvas({300, 200}, QStringLiteral("T"));
    const FontDesc turned = MakeFontDesc(QStringLiteral("Century Gothic"), 14, 700, 900);
    canvas.SelectFont(turned);
    canvas.SetTextAlign(TextAlign::Centre | TextAlign::Baseline);
    canvas.SetTextColour(kRed);
    canvas.SetBkMode(BkMode::Transparent);
    canvas.TextOut(40, 150, QStringLiteral("Amplitude"));
    canvas.TextOut(60, 150, QStringLiteral("Amplitude")); // nothing but the text again
    const CanvasRect box{100, 10, 250, 100};
    canvas.DrawText(QStringLiteral("Zeile eins\nZeile zwei"), box, DrawTextFormat::Centre);
    canvas.DrawText(QStringLiteral("frei"), box, DrawTextFormat::NoClip);

    EmfReader reader;
    ASSERT_TRUE(ReadBack(canvas, reader));
    const auto fonts = reader.OfType(Emf::ExtCreateFontIndirectW);
    ASSERT_EQ(fonts.size(), 2u);
    const EmfFontInfo first = *reader.Font(fonts[0]);
    EXPECT_EQ(first.m_strFace, QStringLiteral("Century Gothic")); // the face asked for, not the stand-in
    EXPECT_EQ(first.m_nHeight, 14);
    EXPECT_EQ(first.m_nWeight, 700);
    EXPECT_EQ(first.m_nEscapement, 900);
    EXPECT_EQ(first.m_nOrientation, 900);
    // Text laid out in a rectangle is never turned: the same face upright.
    const EmfFontInfo upright = *reader.Font(fonts[1]);
    EXPECT_EQ(upright.m_strFace, QStringLiteral("Century Gothic"));
    EXPECT_EQ(upright.m_nEscapement, 0);
    EXPECT_EQ(upright.m_nOrientation, 0);

    const auto aligns = reader.OfType(Emf::SetTextAlign);
    ASSERT_EQ(aligns.size(), 2u);
    EXPECT_EQ(reader.U32(aligns[0], 8), TextAlign::Centre | TextAlign::Baseline);
    EXPECT_EQ(reader.U32(aligns[1], 8), 0u); // lines are placed by their top-left corner
    EXPECT_EQ(reader.OfType(Emf::SetTextColor).size(), 1u);

    const auto texts = reader.OfType(Emf::ExtTextOutW);
    ASSERT_EQ(texts.size(), 5u);
    const Types types = reader.Types();
    const auto firstText = std::find(types.begin(), types.end(), Emf::ExtTextOutW) - types.begin();
    EXPECT_EQ(types[static_cast<std::size_t>(firstText) + 1], Emf::ExtTextOutW);

    const EmfTextInfo t0 = *reader.Text(texts[0]);
    EXPECT_EQ(t0.m_strText, QStringLiteral("Amplitude"));
    EXPECT_EQ(t0.m_ptReference, (CanvasPoint{40, 150}));
    EXPECT_EQ(t0.m_nOptions, 0u);
    ASSERT_EQ(t0.m_aDx.size(), 9u);
    EXPECT_EQ(std::accumulate(t0.m_aDx.begin(), t0.m_aDx.end(), 0), FontFactory::TextWidth(turned, "Amplitude"));

    const auto lines = TextLayout::Lay(turned, QStringLiteral("Zeile eins\nZeile zwei"), box, DrawTextFormat::Centre);
    ASSERT_EQ(lines.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const EmfTextInfo t = *reader.Text(texts[2 + i]);
        EXPECT_EQ(t.m_strText, lines[i].m_strText);
        EXPECT_EQ(t.m_ptReference, lines[i].m_ptTopLeft);
        EXPECT_EQ(t.m_nOptions, Emf::kTextOptionClipped);
        EXPECT_EQ(t.m_rcClip, (EmfRectL{100, 10, 250, 100}));
    }
    EXPECT_EQ(reader.Text(texts[4])->m_nOptions, 0u);

    // A long text keeps its measured width too.
    EmfCanvas longCanvas({300, 200}, QStringLiteral("T"));
    const QString longText = QStringLiteral("Frequenz AV ").repeated(40);
    longCanvas.TextOut(0, 0, longText);
    EmfReader longReader;
    ASSERT_TRUE(ReadBack(longCanvas, longReader));
    const EmfTextInfo t = *longReader.Text(longReader.OfType(Emf::ExtTextOutW).at(0));
    EXPECT_EQ(t.m_strText, longText);
    EXPECT_EQ(std::accumulate(t.m_aDx.begin(), t.m_aDx.end(), 0), FontFactory::TextWidth(FontDesc(), longText));
}

TEST(EmfCanvas, PixelPicturesAreBottomUpRowsOfTheSource)
{
    QImage image(5, 3, QImage::Format_RGB32); // 15 bytes a row, padded to 16
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            image.setPixel(x, y, qRgb(40 * x + 1, 70 * y + 2, 10 * x + 20 * y + 3));

    struct Case {
        const char* name;
        CanvasRect src;
    };
    const Case cases[] = {{"whole", {0, 0, 5, 3}}, {"part", {1, 1, 4, 3}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EmfCanvas canvas({100, 100}, QStringLiteral("Sonogramm Abbild"));
        const CanvasRect dest{10, 20, 10 + 4 * c.src.Width(), 20 + 4 * c.src.Height()};
        canvas.StretchBlt(dest, image, c.src);
        EmfReader reader;
        ASSERT_TRUE(ReadBack(canvas, reader));
        const auto dibs = reader.OfType(Emf::StretchDiBits);
        ASSERT_EQ(dibs.size(), 1u);
        const EmfDibInfo dib = *reader.Dib(dibs[0]);
        EXPECT_EQ(dib.m_rcDest, dest);
        EXPECT_EQ(dib.m_nWidth, c.src.Width());
        EXPECT_EQ(dib.m_nHeight, c.src.Height());
        EXPECT_EQ(dib.m_nBitCount, 24);
        EXPECT_EQ(reader.U32(dibs[0], 68), Emf::kRopSrcCopy);
        const int stride = (3 * dib.m_nWidth + 3) / 4 * 4;
        ASSERT_EQ(dib.m_bits.size(), stride * dib.m_nHeight);
        for (int y = 0; y < dib.m_nHeight; ++y) {
            const char* row = dib.m_bits.constData() + (dib.m_nHeight - 1 - y) * stride;
            for (int x = 0; x < dib.m_nWidth; ++x) {
                const QRgb want = image.pixel(c.src.left + x, c.src.top + y);
                EXPECT_EQ(static_cast<std::uint8_t>(row[3 * x]), qBlue(want)) << x << "," << y;
                EXPECT_EQ(static_cast<std::uint8_t>(row[3 * x + 1]), qGreen(want)) << x << "," << y;
                EXPECT_EQ(static_cast<std::uint8_t>(row[3 * x + 2]), qRed(want)) << x << "," << y;
            }
            for (int pad = 3 * dib.m_nWidth; pad < stride; ++pad)
                EXPECT_EQ(row[pad], 0);
        }
    }
}

TEST(EmfCanvas, PolyRecordsUseShortPointsWhenTheyFit)
{
    struct Case {
        const char* name;
        int offset;
        std::uint32_t line, bezier, polygon;
    };
    const Case cases[] = {{"short", 0, Emf::Polyline16, Emf::PolyBezierTo16, Emf::Polygon16},
                          {"long", 40000, Emf::Polyline, Emf::PolyBezierTo, Emf::Polygon}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<CanvasPoint> pts = {{c.offset + 1, -2}, {c.offset + 30, 40}, {c.offset + 5, 60}};
        EmfCanvas canvas({100, 100}, QStringLiteral("T"));
        canvas.Polyline(pts);
        canvas.MoveTo(c.offset, 0);
        canvas.PolyBezierTo(pts);
        canvas.Polygon(pts);
        EmfReader reader;
        ASSERT_TRUE(ReadBack(canvas, reader));
        for (std::uint32_t type : {c.line, c.bezier, c.polygon}) {
            const auto records = reader.OfType(type);
            ASSERT_EQ(records.size(), 1u) << type;
            EXPECT_EQ(reader.Points(records[0]), pts) << type;
            EXPECT_EQ(reader.I32(records[0], 8), c.offset + 1) << type; // bounds left
        }
        // The curve starts at the position moved to.
        const auto move = reader.OfType(Emf::MoveToEx);
        ASSERT_EQ(move.size(), 1u);
        EXPECT_EQ(reader.I32(move[0], 8), c.offset);
    }
}

TEST(EmfCanvas, EveryPrimitiveOfAWindowScene)
{
    EmfCanvas canvas({320, 240}, QStringLiteral("Wave Abbild"));
    canvas.FillRect({0, 0, 320, 240}, Brush::Solid(kBlack));
    canvas.SelectPen(Pen::Solid(3, kGreen));
    canvas.SelectBrush(Brush::Hatched(HatchStyle::DiagCross, kBlue));
    canvas.Rectangle(10, 10, 100, 80);
    canvas.Ellipse(110, 10, 200, 80);
    canvas.MoveTo(210, 50);
    canvas.ArcTo({210, 10, 300, 80}, {300, 45}, {210, 45});
    canvas.SetRasterMode(RasterMode::Invert);
    canvas.MoveTo(10, 120);
    canvas.LineTo(300, 120);
    canvas.SetRasterMode(RasterMode::Copy);
    canvas.SetPixel(5, 5, kRed);
    canvas.InvertRect({20, 200, 60, 230});
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    canvas.StretchBlt({250, 150, 310, 230}, image);

    EmfReader reader;
    ASSERT_TRUE(ReadBack(canvas, reader));
    const auto blts = reader.OfType(Emf::BitBlt);
    ASSERT_EQ(blts.size(), 2u);
    EXPECT_EQ(reader.U32(blts[0], 40), Emf::kRopPatCopy);
    EXPECT_EQ(reader.I32(blts[0], 32), 320); // width
    EXPECT_EQ(reader.U32(blts[1], 40), Emf::kRopDstInvert);
    EXPECT_EQ((EmfRectL{reader.I32(blts[1], 24), reader.I32(blts[1], 28), reader.I32(blts[1], 32),
                        reader.I32(blts[1], 36)}),
              (EmfRectL{20, 200, 40, 30}));

    const auto brushes = reader.OfType(Emf::CreateBrushIndirect);
    ASSERT_EQ(brushes.size(), 2u);
    EXPECT_EQ(reader.U32(brushes[1], 12), static_cast<std::uint32_t>(BrushStyle::Hatched));
    EXPECT_EQ(reader.U32(brushes[1], 20), static_cast<std::uint32_t>(HatchStyle::DiagCross));

    const auto arc = reader.OfType(Emf::ArcTo);
    ASSERT_EQ(arc.size(), 1u);
    EXPECT_EQ(reader.I32(arc[0], 24), 300); // start ray
    EXPECT_EQ(reader.I32(arc[0], 32), 210); // end ray

    // The inverting line is bracketed by raster-mode records; the pixel and the picture copy.
    const auto rops = reader.OfType(Emf::SetRop2);
    ASSERT_EQ(rops.size(), 3u);
    EXPECT_EQ(reader.U32(rops[1], 8), static_cast<std::uint32_t>(RasterMode::Invert));
    EXPECT_EQ(reader.U32(rops[2], 8), static_cast<std::uint32_t>(RasterMode::Copy));
    const auto pixel = reader.OfType(Emf::SetPixelV);
    ASSERT_EQ(pixel.size(), 1u);
    EXPECT_EQ(reader.U32(pixel[0], 16), kRed);
    EXPECT_LT(LastIndexOf(reader, Emf::SetRop2), LastIndexOf(reader, Emf::SetPixelV));
    EXPECT_EQ(reader.Header().m_rcBounds, (EmfRectL{0, 0, 319, 239}));
}

TEST(EmfCanvas, FinishIsFinalAndSaveFileWritesIt)
{
    EmfCanvas canvas({50, 50}, QStringLiteral("T"));
    canvas.Rectangle(1, 1, 20, 20);
    const QByteArray bytes = canvas.Finish();
    canvas.Rectangle(5, 5, 30, 30); // ignored once finished
    EXPECT_EQ(canvas.Finish(), bytes);
}

class EmfCanvasFile : public TempDirTest {};

TEST_F(EmfCanvasFile, SaveFileWritesTheFinishedBytes)
{
    EmfCanvas canvas({50, 50}, QStringLiteral("T"));
    canvas.Ellipse(1, 1, 20, 20);
    const QString path = QPathOf(QStringLiteral("bild.wmf"));
    ASSERT_TRUE(canvas.SaveFile(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), canvas.Finish());
    EXPECT_FALSE(canvas.SaveFile(QPathOf(QStringLiteral("fehlt/bild.wmf"))));
}

// --- the reader's checks ---------------------------------------------------

QByteArray SampleFile()
{
    EmfCanvas canvas({200, 200}, QStringLiteral("T"));
    canvas.SelectPen(Pen::Solid(1, kRed));
    canvas.MoveTo(0, 0);
    canvas.LineTo(10, 0);
    canvas.SelectPen(Pen::Solid(2, kBlue)); // create 2, select 2, delete 1
    canvas.LineTo(10, 10);
    return canvas.Finish();
}

void PutU32(QByteArray& bytes, qsizetype at, std::uint32_t value)
{
    qToLittleEndian(value, bytes.data() + at);
}

TEST(EmfReader, RejectsDamagedFiles)
{
    const QByteArray good = SampleFile();
    EmfReader reader;
    ASSERT_TRUE(reader.Read(good)) << reader.Error().toStdString();
    auto offsetOf = [&](std::uint32_t type, int nth) {
        int seen = 0;
        for (const EmfRecordRef& r : reader.Records())
            if (r.m_nType == type && seen++ == nth)
                return static_cast<qsizetype>(r.m_nOffset);
        return qsizetype(-1);
    };
    const qsizetype firstRecord = reader.Records().front().m_nOffset;
    const qsizetype secondPen = offsetOf(Emf::CreatePen, 1);
    const qsizetype deletion = offsetOf(Emf::DeleteObject, 0);
    const qsizetype firstSelect = offsetOf(Emf::SelectObject, 0);
    ASSERT_GT(secondPen, 0);
    ASSERT_GT(deletion, 0);

    struct Case {
        const char* name;
        std::function<void(QByteArray&)> damage;
    };
    const Case cases[] = {
        {"truncated", [](QByteArray& b) { b.chop(4); }},
        {"byte count", [](QByteArray& b) { PutU32(b, 48, static_cast<std::uint32_t>(b.size() + 4)); }},
        {"record count", [](QByteArray& b) { PutU32(b, 52, qFromLittleEndian<std::uint32_t>(b.constData() + 52) + 1); }},
        {"signature", [](QByteArray& b) { PutU32(b, 40, 0x12345678); }},
        {"description outside", [](QByteArray& b) { PutU32(b, 60, 5000); }},
        {"size not a multiple of 4", [&](QByteArray& b) { PutU32(b, firstRecord + 4, 10); }},
        {"size past the end", [&](QByteArray& b) { PutU32(b, firstRecord + 4, 0x10000); }},
        {"unknown type", [&](QByteArray& b) { PutU32(b, firstRecord, 500); }},
        {"no end record",
         [](QByteArray& b) {
             b.chop(Emf::kEofSize);
             PutU32(b, 48, static_cast<std::uint32_t>(b.size()));
             PutU32(b, 52, qFromLittleEndian<std::uint32_t>(b.constData() + 52) - 1);
         }},
        {"handle outside the table", [&](QByteArray& b) { PutU32(b, secondPen + 8, 40); }},
        {"handle created twice", [&](QByteArray& b) { PutU32(b, secondPen + 8, 1); }},
        {"selecting what does not exist", [&](QByteArray& b) { PutU32(b, firstSelect + 8, 2); }},
        {"deleting the selected pen", [&](QByteArray& b) { PutU32(b, deletion + 8, 2); }},
        {"object left over", [&](QByteArray& b) { PutU32(b, deletion, Emf::SetBkMode); }},
    };
    for (const Case& c : cases) {
        QByteArray bad = good;
        c.damage(bad);
        EXPECT_FALSE(reader.Read(bad)) << c.name;
        EXPECT_FALSE(reader.Error().isEmpty()) << c.name;
    }
    EXPECT_FALSE(reader.Read(QByteArray()));
    EXPECT_FALSE(reader.Read(QByteArray(200, '\xff')));
}

} // namespace
