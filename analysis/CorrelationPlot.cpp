// Plot of the local slopes of the correlation sums and, on request, of the
// plateau values fitted to them against the embedding dimension.
#include "NonlinearPlots.h"

#include "Canvas.h"
#include "EngineHelpers.h"
#include "PlateauFit.h"

#include <algorithm>
#include <cmath>

using engine_detail::Pixel;

namespace {

constexpr ColourRef kRed = MakeColour(255, 0, 0);
constexpr ColourRef kBlue = MakeColour(0, 0, 255);
constexpr ColourRef kGreen = MakeColour(0, 255, 0);
constexpr double kPerUnit = 0.07142857142857142; // 1 / 14: dimension units over the plot height

// Pixels per unit of |ln radius|, so that the smallest radius lands at x = 40.
double RadiusScale(const CorrDimResult& result, int w)
{
    const double lnLast = std::fabs(std::log(result.m_aRows[0].back().m_dRadius));
    return lnLast > 0.0 && std::isfinite(lnLast) ? (w - 40) / lnLast : w - 40.0;
}

QString Cut(const std::string& text, int n)
{
    return QString::fromStdString(text).left(n);
}

} // namespace

int CorrelationRadiusColumn(const CorrDimResult& result, int w, double dRadius)
{
    if (result.Empty() || result.m_aRows[0].empty())
        return 0;
    return Pixel(w - std::fabs(std::log(dRadius)) * RadiusScale(result, w));
}

std::vector<double> DrawCorrelationPlot(Canvas& canvas, const CorrDimResult& result, int x1, int x2)
{
    const int w = canvas.Width();
    const int h = canvas.Height();
    canvas.FillRect({0, 0, w, h}, Brush::Solid(kWhite));
    if (result.Empty() || result.m_aRows[0].empty())
        return {};
    const FontDesc upright = MakeFontDesc(QStringLiteral("Century Gothic"), 16);
    const FontDesc rotated = MakeFontDesc(QStringLiteral("Century Gothic"), 16, 400, 900);
    canvas.SelectFont(upright);
    canvas.SetTextColour(kBlack);

    // Upper panel: local slopes against the radius (radius 1 at the right edge).
    const double xScale = RadiusScale(result, w);
    auto xOf = [&](double radius) { return Pixel(w - std::fabs(std::log(radius)) * xScale); };
    const int yStep = ((h - 30) / 2) / 7;
    const int base = h - h / 2 - 30;
    auto yOf = [&](double slope) { return Pixel(base - slope * yStep); };

    canvas.DrawText(QStringLiteral("Korrelationsdimension"), {0, 0, w, h}, DrawTextFormat::Right | DrawTextFormat::SingleLine);
    canvas.TextOut(w - 150, base + 12, QStringLiteral("Radien"));
    canvas.SelectPen(Pen::Solid(1, kBlack));
    canvas.MoveTo(5, base);
    canvas.LineTo(w, base);
    for (int i = 1; i <= 40; ++i) {
        const double radius = i <= 10 ? i * 0.0001 : i <= 20 ? (i - 10) * 0.001 : i <= 30 ? (i - 20) * 0.01 : (i - 30) * 0.1;
        const int x = xOf(radius);
        canvas.MoveTo(x, base);
        canvas.LineTo(x, base + 4);
        if (i % 10 == 0)
            canvas.TextOut(x - 10, base + 5, Cut(FourDigitText(radius), 5));
    }
    canvas.SelectFont(rotated);
    canvas.TextOut(4, h / 2 - 40, QStringLiteral("Korrelationsdimension"));
    canvas.SelectFont(upright);
    canvas.MoveTo(40, 0);
    canvas.LineTo(40, h - h / 2);
    for (int sigma = 1; sigma <= 6; ++sigma) {
        const int y = Pixel(base - static_cast<double>(sigma) * yStep);
        canvas.MoveTo(40, y);
        canvas.LineTo(36, y);
        canvas.TextOut(26, y - 8, QString::number(sigma));
    }
    canvas.SelectPen(Pen::Solid(3, kBlack));
    canvas.MoveTo(0, h / 2);
    canvas.LineTo(w, h / 2);

    const std::size_t nDims = result.m_aRows.size();
    std::vector<std::vector<double>> fitPoints(nDims);
    for (std::size_t j = 0; j < nDims; ++j) {
        const std::vector<CorrDimEntry>& row = result.m_aRows[j];
        canvas.SelectPen(Pen::Solid(1, j % 3 == 0 ? kRed : j % 3 == 1 ? kBlue : kGreen));
        canvas.MoveTo(40, yOf(row[0].m_dSlope));
        for (const CorrDimEntry& entry : row) {
            if (!(std::fabs(entry.m_dSlope) < 1e50))
                continue;
            const int x = xOf(entry.m_dRadius);
            const int y = yOf(entry.m_dSlope);
            if (y > 0 && y < base)
                canvas.LineTo(x, y);
            else if (y <= 0)
                canvas.LineTo(x, 0);
            if (x1 < x && x < x2)
                fitPoints[j].push_back(entry.m_dSlope);
        }
    }
    canvas.SelectPen(Pen::Solid(1, kBlack));
    if (x1 == 0 || x2 == 0)
        return {};

    // Lower panel: the plateau of every embedding dimension.
    const int axisY = h - 30;
    canvas.SelectFont(rotated);
    canvas.TextOut(4, h - 35, QStringLiteral("Korrelationsdimension"));
    canvas.SelectFont(upright);
    canvas.MoveTo(40, h / 2 + 2);
    canvas.LineTo(40, h);
    canvas.MoveTo(40, axisY);
    canvas.LineTo(w, axisY);
    canvas.TextOut(w - 150, h - 16, QStringLiteral("Einbettungsdimension"));
    for (std::size_t e = 1; e <= nDims; ++e) {
        const int x = Pixel(40.0 + (w - 40.0) * static_cast<double>(e) / static_cast<double>(nDims));
        canvas.MoveTo(x, axisY);
        canvas.LineTo(x, axisY + 4);
        canvas.TextOut(x - 3, axisY + 4, QString::number(e));
    }
    for (int v = 1; v <= 5; ++v) {
        const int y = Pixel(axisY - axisY * v / 14.0);
        canvas.MoveTo(40, y);
        canvas.LineTo(36, y);
        canvas.TextOut(26, y - 8, QString::number(v));
    }

    std::vector<double> plateaus(nDims);
    CanvasPoint previous{40, axisY};
    double largest = 0.0;
    canvas.SelectBrush(Brush::Null());
    for (std::size_t j = 0; j < nDims; ++j) {
        const double p = PlateauFit::Fit(fitPoints[j]);
        plateaus[j] = p;
        largest = j == 0 ? p : std::max(largest, p);
        const int x = Pixel((static_cast<double>(j) + 1.0) * (w - 40) / static_cast<double>(nDims) + 40.0);
        const int y = Pixel(axisY - axisY * p * kPerUnit);
        canvas.MoveTo(previous);
        canvas.LineTo(x, y);
        canvas.Ellipse(x - 3, y - 3, x + 3, y + 3);
        canvas.TextOut(x - 20, y - 20, Cut(FourDigitText(p), 6));
        previous = {x, y};
    }
    const int yLargest = Pixel(axisY - axisY * largest * kPerUnit);
    canvas.SelectPen(Pen::Styled(PenStyle::Dot, 1, kBlack));
    canvas.MoveTo(40, yLargest);
    canvas.LineTo(w, yLargest);
    canvas.TextOut(45, yLargest - 17, Cut(FourDigitText(largest), 6));
    canvas.SelectPen(Pen::Solid(1, kBlack));
    canvas.SelectBrush(Brush::Solid(kWhite));
    return plateaus;
}
