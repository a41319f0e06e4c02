// Plot of the running Lyapunov exponents and the Kaplan-Yorke text.
#include "NonlinearPlots.h"

#include "Canvas.h"
#include "EngineHelpers.h"

#include <cmath>

using engine_detail::Pixel;

namespace {

constexpr ColourRef kRed = MakeColour(255, 0, 0);
constexpr ColourRef kBlue = MakeColour(0, 0, 255);
constexpr ColourRef kGreen = MakeColour(0, 255, 0);

QString Cut(const std::string& text, int n)
{
    return QString::fromStdString(text).left(n);
}

} // namespace

void DrawSpectrumPlot(Canvas& canvas, const SpectrumResult& result, bool bFinal, double* pLastScale)
{
    const int w = canvas.Width();
    const int h = canvas.Height();
    const std::uint32_t rows = result.m_nRowsDone;
    const std::uint32_t planned = result.m_nPlanned;
    const std::size_t nDim = result.m_nDimension;
    if (planned == 0 || rows == 0)
        return;

    // The first 20 rows swing widely and are left out of the vertical range.
    double vMax = 0.0;
    double vMin = 0.0;
    for (std::uint32_t t = 20; t < rows; ++t)
        for (std::size_t j = 0; j < nDim; ++j) {
            const double v = result.m_aRows[t][j];
            if (v > vMax)
                vMax = v;
            if (v < vMin)
                vMin = v;
        }
    const double xScale = static_cast<double>(w - 40) / planned;
    // Until a range exists (20 rows or fewer) one unit fills the plot height.
    const double range = vMax - vMin > 0.0 ? vMax - vMin : 1.0;
    const double yScale = (h - 70) / range;
    const double top = std::fabs(vMax);
    auto yOf = [&](double v) { return Pixel((top - v) * yScale + 40.0); };
    auto xOf = [&](double t) { return Pixel(t * xScale + 40.0); };

    if (pLastScale && *pLastScale == yScale)
        canvas.FillRect({0, 0, 38, h}, Brush::Solid(kWhite));
    else
        canvas.FillRect({0, 0, w, h}, Brush::Solid(kWhite));

    canvas.SelectFont(MakeFontDesc(QStringLiteral("Century Gothic"), 16));
    canvas.SetTextColour(kBlack);
    canvas.DrawText(QStringLiteral("Lyapunov Spektrum"), {0, 0, w, h}, DrawTextFormat::Right | DrawTextFormat::SingleLine);
    canvas.TextOut(w - 75, Pixel(top * yScale + 60), QStringLiteral("Iterationen"));
    const int y0 = Pixel(top * yScale + 40.0);
    canvas.SelectPen(Pen::Solid(1, kBlack));
    canvas.MoveTo(5, y0);
    canvas.LineTo(w, y0);

    const std::uint32_t fifth = planned / 5;
    const std::uint32_t s = fifth - fifth % 100;
    const std::uint32_t step = s > 20 ? s : 20;
    const int yTick = Pixel(top * yScale + 44.0);
    for (std::uint32_t i = step; i < planned; i += step) {
        canvas.MoveTo(xOf(i), y0);
        canvas.LineTo(xOf(i), yTick);
        canvas.TextOut(Pixel(i * xScale + 37.0), yTick, QString::number(i));
    }
    canvas.MoveTo(40, 3);
    canvas.LineTo(40, h);

    for (std::size_t j = 0; j < nDim; ++j) {
        canvas.SelectPen(Pen::Solid(1, j == 0 ? kRed : j == 1 ? kBlue : kGreen));
        canvas.MoveTo(40, yOf(result.m_aRows[0][j]));
        for (std::uint32_t t = 0; t < rows; ++t) {
            const int y = yOf(result.m_aRows[t][j]);
            if (y >= 40 && y < h)
                canvas.LineTo(xOf(t), y);
            else if (y < 40 || y == h)
                canvas.MoveTo(xOf(t), 40);
            else
                canvas.MoveTo(xOf(t), h);
        }
    }

    // Averages over the second half of the planned points; none before that half is reached.
    const std::uint32_t half = planned / 2;
    if (rows > half) {
        for (std::size_t j = 0; j < nDim; ++j) {
            double sum = 0.0;
            for (std::uint32_t t = half; t < rows; ++t)
                sum += result.m_aRows[t][j];
            const double avg = sum / (rows - half);
            canvas.TextOut(2, Pixel((top - avg) * yScale - 8.0 + 40.0), Cut(FourDigitText(avg), 6));
            if (bFinal) {
                canvas.SelectPen(Pen::Styled(PenStyle::Dot, 1, kBlack));
                canvas.MoveTo(40, yOf(avg));
                canvas.LineTo(w, yOf(avg));
            }
        }
    }
    canvas.SelectPen(Pen::Solid(1, kBlack));
    if (pLastScale)
        *pLastScale = yScale;
}

void DrawKaplanYorkeText(Canvas& canvas, const SpectrumResult& result)
{
    canvas.SelectFont(MakeFontDesc(QStringLiteral("Century Gothic"), 16));
    canvas.SetTextColour(kBlack);
    const QString text = QStringLiteral("Kaplan-Yorke-Dimension:") + QString::fromStdString(FourDigitText(result.m_dKaplanYorke))
                         + QStringLiteral("\nAnzahl nächster Nachbarn: ~")
                         + QString::fromStdString(FourDigitText(result.m_dAverageNeighbours));
    canvas.DrawText(text, {0, 0, canvas.Width(), canvas.Height()}, DrawTextFormat::Centre);
}
