#include "FFTPlot.h"

#include "Canvas.h"
#include "FFTMapping.h"
#include "TonaroDoc.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr ColourRef kLineColour = MakeColour(255, 0, 0);
// Level written for a spectrum entry of 0 (whose logarithm has no value), so
// that the data copy stays a column of numbers.
constexpr double kSilentLevelDb = -400.0;

long long FftLength(long long n)
{
    return n > 1 ? 2 * (n - 1) : 1;
}

} // namespace

void CFFTPlot::Draw(Canvas& dc, const CTonaroDoc& doc, const FFTColours& colours)
{
    const int W = dc.Width();
    const int H = dc.Height();
    const CFFTMapping map(m_settings, W, H, doc.m_nBitsPerSample, doc.m_nSampleRate);
    dc.SetBkMode(BkMode::Transparent);
    // The strips around the plot; the bottom strip is filled with the frequency axis.
    dc.FillRect({0, 0, W, 28}, Brush::Solid(colours.m_clrBack));
    dc.FillRect({0, 28, 21, H - 20}, Brush::Solid(colours.m_clrBack));
    dc.FillRect({21, 28, W, 28 + H - 48}, Brush::Solid(colours.m_clrBack));
    if (colours.m_clrBack != kWhite)
        DrawPianoBand(dc, map);

    const std::vector<double>& S = doc.m_aSpectrum;
    const long long n = static_cast<long long>(S.size());
    if (n == 1 || n != m_nLastLength) {
        m_aPlot.clear();
        m_aHeld.clear();
        if (m_settings.PeaksWanted()) {
            m_peaks.ClearList();
            m_peaks.ClearEdits();
        }
    }
    m_nLastLength = n;
    if (n > 2) {
        const long long nFft = FftLength(n);
        BuildPlotPoints(S, nFft, map);
        if (m_settings.PeaksWanted())
            m_peaks.Build(S, nFft, m_nSkipped, map, m_settings);
        ApplyDelay();
        if (m_aPlot.size() >= 2)
            DrawPoints(dc, map, doc);
        m_aHeld = m_aPlot;
        if (m_settings.PeaksWanted())
            m_peaks.Draw(dc, map, m_settings, colours.m_clrCurve);
    }
    DrawFrequencyAxis(dc, map, colours);
    DrawLevelAxis(dc, map, colours);
}

void CFFTPlot::DrawCopy(Canvas& dc, const CTonaroDoc& doc)
{
    Draw(dc, doc, kFFTCopyColours);
    const int W = dc.Width();
    const int H = dc.Height();
    FontDesc font = MakeFontDesc(QStringLiteral("Tahoma"), 16, 700);
    font.m_nWidth = 8;
    dc.SelectFont(font);
    dc.SetTextColour(kBlack);
    dc.SetBkMode(BkMode::Transparent);
    dc.TextOut(W / 2 - 10, H + 5, QStringLiteral("Frequenz"));
    font.m_nEscapement = 900;
    dc.SelectFont(font);
    dc.TextOut(-25, static_cast<int>(H / 2.0 + 45), QStringLiteral("Amplitude"));
}

void CFFTPlot::BuildPlotPoints(const std::vector<double>& S, long long nFft, const CFFTMapping& map)
{
    m_aPlot.clear();
    m_nSkipped = 0;
    const long long n = static_cast<long long>(S.size());
    const double fmin = map.LowerFrequency();
    int nColumn = std::numeric_limits<int>::min();   // x of the column being filled
    int nRunningMin = std::numeric_limits<int>::max(); // highest (smallest y) further entry of that column
    for (long long k = 1; k <= n - 2; ++k) {
        const int f = CFFTMapping::EntryHz(k, map.SampleRate(), nFft);
        if (f <= fmin) {
            ++m_nSkipped;
            continue;
        }
        if (map.Ratio(f) > 1.0)
            continue;
        const int x = map.X(f);
        int y = map.Y(S[static_cast<std::size_t>(k)]);
        if (!m_aPlot.empty() && x == nColumn) {
            nRunningMin = std::min(nRunningMin, y);
            continue;
        }
        // A new column: the first entry makes its point at once; what the
        // further entries of the previous column reached is carried into it.
        y = std::min(y, nRunningMin);
        nRunningMin = std::numeric_limits<int>::max();
        nColumn = x;
        CanvasPoint pt{x, y};
        const std::size_t pos = m_aPlot.size();
        if (m_settings.m_bIsSumme && pos < m_aHeld.size() && m_aHeld[pos].y <= y)
            pt = m_aHeld[pos];
        m_aPlot.push_back(pt);
    }
}

void CFFTPlot::ApplyDelay()
{
    if (!m_settings.m_bIsDelay || m_aHeld.empty() || m_aPlot.size() < 2)
        return;
    const std::size_t last = std::min(m_aPlot.size() - 1, m_aHeld.size());
    for (std::size_t i = 0; i < last; ++i)
        if (m_aHeld[i].y < m_aPlot[i].y) {
            // Falls by the step, but never below the value shown now.
            m_aPlot[i] = {m_aHeld[i].x, std::min(m_aHeld[i].y + m_settings.m_nDelay, m_aPlot[i].y)};
        }
}

void CFFTPlot::DrawPoints(Canvas& dc, const CFFTMapping& map, const CTonaroDoc& doc) const
{
    const int bottom = map.Bottom();
    const long long c = static_cast<long long>(m_aPlot.size());
    switch (m_settings.m_nDarstellung) {
    case 0: {
        const std::vector<uint32_t>& palette = doc.m_palette;
        for (long long i = 0; i < c; ++i) {
            const CanvasPoint& p = m_aPlot[static_cast<std::size_t>(i)];
            if (p.x == 0)
                continue;
            const long long index = m_settings.m_bIsFreqLinear
                                        ? 1536 * i / c
                                        : static_cast<long long>(std::sqrt(double(i)) * 1536 / std::sqrt(double(c)));
            const ColourRef colour =
                index >= 0 && index < static_cast<long long>(palette.size()) ? palette[index] : kWhite;
            dc.SelectPen(Pen::Solid(1, colour));
            dc.MoveTo(p.x, bottom);
            dc.LineTo(p.x, p.y);
        }
        break;
    }
    case 1:
        dc.SelectPen(Pen::Solid(1, kLineColour));
        dc.MoveTo(20, m_aPlot[0].y);
        for (long long i = 1; i < c; ++i)
            if (m_aPlot[static_cast<std::size_t>(i)].x != 0)
                dc.LineTo(m_aPlot[static_cast<std::size_t>(i)]);
        break;
    default:
        dc.SelectPen(Pen::Solid(1, kLineColour));
        dc.MoveTo(20, m_aPlot[0].y);
        for (std::size_t i = 0; i + 1 < m_aPlot.size(); ++i) {
            const CanvasPoint& next = m_aPlot[i + 1];
            if (next.x == 0)
                continue;
            dc.LineTo(next.x, m_aPlot[i].y);
            dc.LineTo(next.x, next.y);
        }
        break;
    }
}

int CFFTPlot::ToneHz(int x, CanvasSize size, const CTonaroDoc& doc) const
{
    const CFFTMapping map(m_settings, size.cx, size.cy, doc.m_nBitsPerSample, doc.m_nSampleRate);
    const double f = map.FrequencyAt(x);
    return std::isfinite(f) ? static_cast<int>(std::clamp(f, -1.0e9, 1.0e9)) : 0;
}

QString CFFTPlot::DataText(const CTonaroDoc& doc)
{
    const std::vector<double>& S = doc.m_aSpectrum;
    const long long n = static_cast<long long>(S.size());
    const long long nFft = FftLength(n);
    double fullScale = std::trunc(doc.m_dFullScale);
    if (!(fullScale > 0.0))
        fullScale = doc.m_nBitsPerSample == 8 ? 255.0 : 32767.0;
    QString text = QStringLiteral("Frequenz[Hz]\tAmplitude[dB]\r\n");
    text.reserve(static_cast<qsizetype>(n) * 28 + 32);
    for (long long i = 0; i < n; ++i) {
        const double f = static_cast<double>(i) * doc.m_nSampleRate / static_cast<double>(nFft);
        const double s = S[static_cast<std::size_t>(i)];
        double level = s > 0.0 ? 20.0 * std::log10(s / fullScale) : kSilentLevelDb;
        if (!std::isfinite(level))
            level = kSilentLevelDb;
        text += QString::number(f, 'g', 10).replace(u'.', u',');
        text += u'\t';
        text += QString::number(level, 'g', 10).replace(u'.', u',');
        text += QStringLiteral("\r\n");
    }
    return text;
}

QString CFFTPlot::ReadoutNumber(double d)
{
    if (!std::isfinite(d))
        return d < 0 ? QStringLiteral("-∞") : QStringLiteral("∞");
    QString s = QString::number(d, 'g', 5);
    if (s.contains(u'e'))
        s = QString::number(d, 'f', 1);
    const qsizetype dot = s.indexOf(u'.');
    if (dot >= 0)
        s.truncate(dot + 2);
    return s;
}

void CFFTPlot::SetUpperLevel(int nDbr)
{
    CFFTSettings& s = m_settings;
    s.m_nBottomCutAmp = std::clamp(nDbr, -99, 0);
    if (s.m_nBottomCutAmp <= s.m_nTopCutAmp) {
        s.m_nTopCutAmp = std::max(s.m_nBottomCutAmp - 5, -99);
        if (s.m_nTopCutAmp >= s.m_nBottomCutAmp)
            s.m_nBottomCutAmp = s.m_nTopCutAmp + 5;
    }
    m_aHeld.clear();
    m_peaks.ClearEdits();
}

void CFFTPlot::SetLowerLevel(int nDbr)
{
    CFFTSettings& s = m_settings;
    s.m_nTopCutAmp = std::clamp(nDbr, -99, 0);
    if (s.m_nTopCutAmp >= s.m_nBottomCutAmp) {
        s.m_nBottomCutAmp = std::min(s.m_nTopCutAmp + 5, 0);
        if (s.m_nTopCutAmp >= s.m_nBottomCutAmp)
            s.m_nTopCutAmp = s.m_nBottomCutAmp - 5;
    }
    m_aHeld.clear();
    m_peaks.ClearEdits();
}

void CFFTPlot::SetAmpLinear(bool bLinear)
{
    m_settings.m_bIsAmpLinear = bLinear;
    SetUpperLevel(bLinear ? -15 : 0);
}

void CFFTPlot::SetLowerFrequency(int nHz)
{
    m_settings.m_nBottomCutHz = std::clamp(nHz, 1, 999);
    m_aHeld.clear();
}

void CFFTPlot::SetUpperFrequency(int nKHz)
{
    m_settings.m_nTopCutkHz = std::clamp(nKHz, 1, 100);
    m_aHeld.clear();
    m_peaks.ClearEdits();
}

void CFFTPlot::SetHoldMaxima(bool bOn)
{
    m_settings.m_bIsSumme = bOn;
    if (!bOn)
        m_aHeld.clear();
}

void CFFTPlot::SetDelay(bool bOn)
{
    m_settings.m_bIsDelay = bOn;
    if (bOn)
        m_settings.m_bIsCrossVisible = false;
}

void CFFTPlot::SetPeakFinding(bool bOn)
{
    m_settings.m_bIsCrossVisible = bOn;
    if (bOn)
        m_settings.m_bIsDelay = false;
}

void CFFTPlot::SetPeakDistance(int nPixels)
{
    m_settings.m_nMinAbstandMaxima = std::clamp(nPixels, 0, 50);
    m_peaks.ClearEdits();
}

void CFFTPlot::SetNeighbourDistance(int nEntries)
{
    m_settings.m_nMinAbstandNachbarMin = std::clamp(nEntries, 1, 50);
    m_peaks.ClearEdits();
}

void CFFTPlot::SetCurve(int nKind, bool bChecked)
{
    m_settings.m_bIsSpline = bChecked;
    m_settings.m_nSplineTyp = bChecked ? nKind : 0;
}

void CFFTPlot::OnSizeChanged()
{
    m_aHeld.clear();
    m_peaks.ClearEdits();
}

void CFFTPlot::DeleteCaptures()
{
    m_aPlot.assign(1, CanvasPoint{0, 0});
    m_aHeld.assign(1, CanvasPoint{0, 0});
    m_peaks.ClearList();
    m_peaks.ClearEdits();
}

bool CFFTPlot::OnRightButtonDown(CanvasPoint p)
{
    if (!m_settings.PeaksWanted())
        return false;
    m_peaks.RightClick(p);
    return true;
}
