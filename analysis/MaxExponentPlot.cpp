// Plot of the stretch factors S(n) of the maximal Lyapunov exponent.
#include "NonlinearPlots.h"

#include "Canvas.h"
#include "EngineHelpers.h"

#include <algorithm>
#include <cmath>

using engine_detail::Pixel;

namespace {

constexpr ColourRef kRed = MakeColour(255, 0, 0);
constexpr ColourRef kBlue = MakeColour(0, 0, 255);
constexpr ColourRef kGreen = MakeColour(0, 255, 0);

} // namespace

MaxExponentScales MaxExponentPlotScales(const MaxExponentResult& result, int w, int h)
{
    double vMin = 0.0;
    for (std::uint32_t l = 0; l < result.m_nSizesDone; ++l)
        for (std::uint32_t k = result.m_nMinDim; k <= result.m_nMaxDim; ++k)
            for (std::uint32_t n = 0; n <= result.m_nIterations; ++n) {
                const double v = result.Value(k, l, n);
                if (!std::isnan(v) && v < vMin)
                    vMin = v;
            }
    MaxExponentScales scales;
    // Without a negative value the scale is one unit over the plot height.
    scales.m_dScaleY = (h - 30) / (vMin < 0.0 ? std::fabs(vMin) : 1.0);
    scales.m_nXStep = std::max(1, (w - 40) / static_cast<int>(std::min<std::uint32_t>(result.m_nIterations + 1u, 1u << 30)));
    return scales;
}

void DrawMaxExponentPlot(Canvas& canvas, const MaxExponentResult& result)
{
    const int w = canvas.Width();
    const int h = canvas.Height();
    const MaxExponentScales scales = MaxExponentPlotScales(result, w, h);
    const double scaleY = scales.m_dScaleY;
    const double xStep = scales.m_nXStep;
    const double vMinAbs = (h - 30) / scaleY;

    canvas.FillRect({0, 0, w, h}, Brush::Solid(kWhite));
    const FontDesc upright = MakeFontDesc(QStringLiteral("Century Gothic"), 16);
    const FontDesc rotated = MakeFontDesc(QStringLiteral("Century Gothic"), 16, 400, 900);
    canvas.SelectFont(upright);
    canvas.SetTextColour(kBlack);
    canvas.DrawText(QStringLiteral("Maximaler Lyapunovexponent"), {0, 0, w, h},
                    DrawTextFormat::Right | DrawTextFormat::SingleLine);

    canvas.SelectPen(Pen::Solid(1, kBlack));
    canvas.MoveTo(40, 5);
    canvas.LineTo(40, h - 25);
    canvas.SelectFont(rotated);
    canvas.TextOut(4, h / 2, QStringLiteral("Stretchfaktor S(dn)"));
    const int nTicks = Pixel(4.0 * vMinAbs);
    for (int k = 1; k < nTicks; ++k) {
        const double y = k * scaleY;
        if (y < h - 30) {
            canvas.MoveTo(40, Pixel(y));
            canvas.LineTo(36, Pixel(y));
            canvas.TextOut(22, Pixel(y), QStringLiteral("-%1").arg(k));
        }
    }

    canvas.SelectFont(upright);
    canvas.MoveTo(5, h - 30);
    canvas.LineTo(w - 5, h - 30);
    canvas.TextOut(w / 2, h - 18, QStringLiteral("Iterationen"));
    for (std::uint32_t i = 0; i <= result.m_nIterations; i += 10) {
        const int x = Pixel(i * xStep + 40.0);
        canvas.MoveTo(x, h - 30);
        canvas.LineTo(x, h - 26);
        canvas.TextOut(Pixel(i * xStep + 37.0), h - 28, QString::number(i));
    }

    // Steps without a value interrupt the curve; it goes on from the next defined step.
    for (std::uint32_t l = 0; l < result.m_nSizesDone; ++l) {
        for (std::uint32_t k = result.m_nMinDim; k <= result.m_nMaxDim; ++k) {
            const std::uint32_t rank = k - result.m_nMinDim;
            canvas.SelectPen(Pen::Solid(1, rank == 0 ? kRed : rank == 1 ? kBlue : kGreen));
            canvas.MoveTo(40, h - 30);
            bool gap = false;
            for (std::uint32_t i = 0; i < result.m_nIterations; ++i) {
                const double s = result.Value(k, l, i + 1);
                if (std::isnan(s)) {
                    gap = true;
                    continue;
                }
                const int x = Pixel(i * xStep + 40.0);
                const int y = Pixel(std::fabs(s) * scaleY);
                if (gap)
                    canvas.MoveTo(x, y);
                else
                    canvas.LineTo(x, y);
                gap = false;
            }
        }
    }
    canvas.SelectPen(Pen::Solid(1, kBlack));
}
