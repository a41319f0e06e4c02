// Piano band, frequency axis, level axis and read-out of the FFT plot.
#include "FFTPlot.h"

#include "Canvas.h"
#include "FFTMapping.h"
#include "TonaroDoc.h"

#include <array>
#include <cmath>
#include <limits>

namespace {

constexpr ColourRef kGridColour = MakeColour(130, 130, 130);
const QString kGothic = QStringLiteral("Century Gothic");

// Band numbers n whose band (between x_(n-1) and x_n) is a black key.
constexpr std::array<int, 36> kBlackKeyBands = {2,  5,  7,  10, 12, 14, 17, 19, 22, 24, 26, 29,
                                                 31, 34, 36, 38, 41, 43, 46, 48, 50, 53, 55, 58,
                                                 60, 62, 65, 67, 70, 72, 74, 77, 79, 82, 84, 86};
// Band numbers n after which a white key follows a white key.
constexpr std::array<int, 16> kWhiteWhiteBands = {0, 3, 8, 15, 20, 27, 32, 39, 44, 51, 56, 63, 68, 75, 80, 87};

template <std::size_t N>
bool IsIn(const std::array<int, N>& set, int n)
{
    for (int v : set)
        if (v == n)
            return true;
    return false;
}

QString FrequencyLabel(int f)
{
    if (f <= 1000)
        return QString::number(f) + QStringLiteral(" Hz");
    if (f < 11000)
        return QString::number(f / 1000) + u',' + QString::number((f % 1000) / 100) + QStringLiteral(" kHz");
    return QString::number(f / 1000) + QStringLiteral(" kHz");
}

} // namespace

void CFFTPlot::DrawPianoBand(Canvas& dc, const CFFTMapping& map) const
{
    const int W = map.Width();
    dc.SelectFont(MakeFontDesc(kGothic, 16));
    // The band is white, so its texts are written in black to be readable.
    dc.SetTextColour(kBlack);
    dc.SelectPen(Pen::Solid(8, kWhite));
    dc.SelectBrush(Brush::Solid(kWhite));
    dc.Rectangle(0, 0, W, 25);

    dc.SelectPen(Pen::Solid(1, kBlack));
    dc.SelectBrush(Brush::Solid(kBlack));
    const double semitone = std::pow(2.0, 1.0 / 1200.0);
    int xPrev = 0;
    for (int n = 0; n <= 88; ++n) {
        const int x = map.X(27.5 * std::pow(semitone, 100.0 * n));
        const int w = n == 0 ? 8 : x - xPrev;
        if (n > 0 && IsIn(kBlackKeyBands, n)) {
            dc.Rectangle(xPrev - w / 2, 0, x - w / 2, 17);
            dc.MoveTo(xPrev, 17);
            dc.LineTo(xPrev, 28);
        }
        if (IsIn(kWhiteWhiteBands, n)) {
            dc.MoveTo(x - w / 2, 0);
            dc.LineTo(x - w / 2, 28);
        }
        if (n == 88) {
            dc.MoveTo(x, 0);
            dc.LineTo(x, 28);
            dc.TextOut(x + 20, 7, QStringLiteral("Tonumfang Klavier"));
        }
        if (n == 39)
            dc.TextOut(x, 15, QStringLiteral("c"));
        xPrev = x;
    }
    dc.MoveTo(0, 28);
    dc.LineTo(W, 28);
}

void CFFTPlot::DrawFrequencyAxis(Canvas& dc, const CFFTMapping& map, const FFTColours& colours) const
{
    const int W = map.Width();
    const int H = map.Height();
    const int bottom = map.Bottom();
    const Pen axisPen = Pen::Solid(1, colours.m_clrFore);
    const Pen gridPen = Pen::Styled(PenStyle::Dot, 1, kGridColour);
    dc.SelectFont(MakeFontDesc(kGothic, 16));
    dc.SetTextColour(colours.m_clrFore);
    dc.SetBkMode(BkMode::Transparent);
    dc.FillRect({0, bottom, W, H}, Brush::Solid(colours.m_clrBack));

    int lastLabel = std::numeric_limits<int>::min() / 2;
    auto tick = [&](int f, int x) {
        if (x < 0 || x > W)
            return;
        dc.SelectPen(axisPen);
        dc.MoveTo(x, bottom);
        dc.LineTo(x, H - 14);
        if (m_settings.m_bGrid) {
            dc.SelectPen(gridPen);
            dc.MoveTo(x, bottom);
            dc.LineTo(x, 25);
        }
        if (x - 15 >= 0 && x - 15 < W && x > lastLabel + 40) {
            dc.TextOut(x - 15, H - 16, FrequencyLabel(f));
            lastLabel = x;
        }
    };

    const int rate = map.SampleRate();
    if (m_settings.m_bIsFreqLinear) {
        const double fmin = map.LowerFrequency();
        const double fmax = map.UpperFrequency();
        const int step = std::max(1, static_cast<int>(std::floor((fmax - fmin) / 11000.0 + rate / 88200.0)));
        const int count = static_cast<int>(0.0005 * rate);
        for (int i = 0; i <= count; ++i) {
            const int f = i * step * 1000;
            tick(f, map.X(f));
        }
    } else {
        int xPrev = 0;
        for (int i = 0; i <= 18; ++i) {
            const int f = static_cast<int>(1.71875 * std::ldexp(1.0, i));
            const int x = map.X(f);
            if (i > 0) {
                dc.SelectPen(axisPen);
                for (int j = 1; j <= 11; ++j) {
                    const long long xs = x - (static_cast<long long>(j) * (x - static_cast<long long>(xPrev))) / 12;
                    if (xs < 0 || xs > W)
                        continue;
                    dc.MoveTo(static_cast<int>(xs), bottom);
                    dc.LineTo(static_cast<int>(xs), H - 17);
                }
            }
            tick(f, x);
            xPrev = x;
        }
    }
    dc.SelectPen(axisPen);
    dc.MoveTo(0, bottom);
    dc.LineTo(W, bottom);
}

void CFFTPlot::DrawLevelAxis(Canvas& dc, const CFFTMapping& map, const FFTColours& colours) const
{
    const int W = map.Width();
    const int H = map.Height();
    const Pen axisPen = Pen::Solid(1, colours.m_clrFore);
    const Pen gridPen = Pen::Styled(PenStyle::Dot, 1, kGridColour);
    dc.SelectFont(MakeFontDesc(kGothic, 14, 400, 900));
    dc.SetTextColour(colours.m_clrFore);
    dc.SetBkMode(BkMode::Transparent);

    const bool linear = m_settings.m_bIsAmpLinear;
    const int stepDb = linear ? 1 : 5;
    const int lastDb = linear ? -120 : -125;
    const double lo = std::min(map.LowerAmplitude(), map.UpperAmplitude());
    const double hi = std::max(map.LowerAmplitude(), map.UpperAmplitude());
    int lastLabel = std::numeric_limits<int>::min() / 2;
    for (int L = -stepDb; L >= lastDb; L -= stepDb) {
        const double a = map.Reference() * std::pow(10.0, L / 20.0);
        if (a < lo || a > hi || (!linear && !(a > 1.0)))
            continue;
        const int y = map.YOfAmplitude(a);
        dc.SelectPen(axisPen);
        dc.MoveTo(16, y);
        dc.LineTo(20, y);
        if (m_settings.m_bGrid) {
            dc.SelectPen(gridPen);
            dc.MoveTo(20, y);
            dc.LineTo(W, y);
        }
        if (y > lastLabel + 40 && y <= H - 35) {
            dc.TextOut(0, y + 15, QString::number(L) + QStringLiteral("dB"));
            lastLabel = y;
        }
    }
    dc.SelectPen(axisPen);
    dc.MoveTo(20, map.Bottom());
    dc.LineTo(20, 25);
}

void CFFTPlot::DrawReadout(Canvas& dc, CanvasPoint p, const CTonaroDoc& doc) const
{
    if (doc.m_nSampleRate <= 0)
        return;
    const CFFTMapping map(m_settings, dc.Width(), dc.Height(), doc.m_nBitsPerSample, doc.m_nSampleRate);
    dc.SelectFont(MakeFontDesc(kGothic, 16));
    dc.SetTextColour(kWhite);
    dc.SetBkMode(BkMode::Transparent);
    dc.SelectPen(Pen::Solid(1, kWhite));
    dc.MoveTo(p.x - 5, p.y - 5);
    dc.LineTo(p.x + 5, p.y + 5);
    dc.MoveTo(p.x - 5, p.y + 5);
    dc.LineTo(p.x + 5, p.y - 5);
    const double a = map.AmplitudeAt(p.y);
    const double level = a > 0.0 ? 20.0 * std::log10(a / map.Reference()) : -std::numeric_limits<double>::infinity();
    dc.TextOut(map.Width() - 55, 30, ReadoutNumber(map.FrequencyAt(p.x)) + QStringLiteral(" Hz"));
    dc.TextOut(map.Width() - 60, 45, ReadoutNumber(level) + QStringLiteral(" dB"));
}
