#include "FFTPeaks.h"

#include "Canvas.h"
#include "FFTMapping.h"
#include "FFTSettings.h"
#include "SplineCurves.h"
#include "SplineDrawing.h"

#include <algorithm>

namespace {

constexpr ColourRef kCrossColour = MakeColour(0, 255, 0);

} // namespace

void CFFTPeaks::Build(const std::vector<double>& S, long long nFft, int nSkipped, const CFFTMapping& map,
                      const CFFTSettings& settings)
{
    const int bottom = map.Bottom();
    m_aList.clear();
    m_nPrefix = 0;
    m_aList.push_back({20, bottom});

    const long long n = static_cast<long long>(S.size());
    const long long d = settings.m_nMinAbstandNachbarMin;
    const double floor = 0.0001 * map.Reference();   // -80 dB below F
    long long i = std::max(nSkipped, 0);
    double c = 0.0;   // running value, kept from one pass to the next
    while (i < n) {
        long long rises = 0, plateau = 0, falls = 0;
        while (S[i] > c) {
            c = S[i];
            ++rises;
            if (i == n - 1)
                break;
            ++i;
        }
        while (S[i] == c) {
            ++plateau;
            if (i == n - 1)
                break;
            ++i;
        }
        while (i < n && S[i] < c) {
            c = S[i];
            ++falls;
            ++i;
        }
        if (rises + plateau > 0 && falls > 0) {
            const long long p = i - falls - 1;
            const long long r = std::min(p + d, n - 1);
            const long long l = p - d <= 0 ? 0 : p - d;
            if ((S[r] < 0.2 * S[p] || S[l] < 0.2 * S[p]) && S[p] > floor)
                m_aList.push_back({map.X(CFFTMapping::EntryHz(p, map.SampleRate(), nFft)) + 1, map.Y(S[p])});
        }
        if (i == n - 1)
            i = n;
        else if (rises + plateau + falls == 0)
            ++i;   // a value that compares with nothing (not a number) must not stall the walk
    }

    // Thinning: of two entries closer than dmax pixels the lower one goes.
    const int dmax = settings.m_nMinAbstandMaxima;
    std::size_t j = 0;
    while (j + 1 < m_aList.size()) {
        const CanvasPoint a = m_aList[j];
        const CanvasPoint b = m_aList[j + 1];
        if (b.x - dmax <= a.x)
            m_aList.erase(m_aList.begin() + static_cast<std::ptrdiff_t>(a.y < b.y ? j + 1 : j));
        else
            ++j;
    }

    for (const FFTPeakEdit& e : m_aEdits) {
        if (e.m_bDelete) {
            if (e.m_nPos >= 1 && e.m_nPos < static_cast<int>(m_aList.size()))
                m_aList.erase(m_aList.begin() + e.m_nPos);
            continue;
        }
        auto at = std::find_if(m_aList.begin(), m_aList.end(), [&](const CanvasPoint& p) { return p.x >= e.m_pt.x; });
        m_aList.insert(at, e.m_pt);
    }
    m_nBuilt = static_cast<int>(m_aList.size());
    m_aList.push_back({map.Width(), bottom});
}

void CFFTPeaks::Draw(Canvas& dc, const CFFTMapping& map, const CFFTSettings& settings, ColourRef clrCurve)
{
    if (settings.m_bIsCrossVisible) {
        dc.SelectPen(Pen::Solid(1, kCrossColour));
        for (const CanvasPoint& p : m_aList) {
            dc.MoveTo(p.x - 3, p.y);
            dc.LineTo(p.x + 3, p.y);
            dc.MoveTo(p.x, p.y - 3);
            dc.LineTo(p.x, p.y + 3);
        }
    }
    if (!settings.m_bIsSpline)
        return;
    m_aCubic = ToCanvasPoints(CubicSplinePoints(ToSplinePoints(m_aList)));
    if (m_aCubic.size() < 2)
        return;
    const int bottom = map.Bottom();
    dc.SelectPen(Pen::Solid(1, clrCurve));
    switch (settings.m_nSplineTyp) {
    case 1:
        m_aList.resize(m_aList.size() - m_aList.size() % 3);
        m_nBuilt = std::min(m_nBuilt, static_cast<int>(m_aList.size()));
        dc.MoveTo(20, bottom);
        dc.PolyBezierTo(m_aList);
        break;
    case 2:
        dc.Polyline(m_aCubic);
        break;
    case 3: {
        m_aList.insert(m_aList.begin(), {{21, bottom - 1}, {22, bottom - 2}});
        m_nPrefix = 2;
        m_aList.push_back({map.Width(), bottom});
        m_aList.push_back({map.Width(), bottom});
        DrawBetaSpline(dc, m_aList, clrCurve);
        break;
    }
    default: break;
    }
}

void CFFTPeaks::RightClick(CanvasPoint p)
{
    for (std::size_t idx = 0; idx < m_aList.size(); ++idx) {
        const long long dx = m_aList[idx].x - p.x;
        const long long dy = m_aList[idx].y - p.y;
        if (dx * dx + dy * dy >= 25)
            continue;
        // Only found peaks and the user's points can go; the fixed end points stay.
        const int pos = static_cast<int>(idx) - m_nPrefix;
        if (pos >= 1 && pos < m_nBuilt) {
            m_aEdits.push_back({true, pos, {}});
            return;
        }
    }
    m_aEdits.push_back({false, 0, p});
}
