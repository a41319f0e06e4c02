#include "TimeScale.h"

#include "Canvas.h"
#include "ViewColours.h"

#include <algorithm>

TimeScaleLayout LayoutTimeScale(double dDurationMs, int nPlotWidth, int nClientWidth)
{
    TimeScaleLayout l;
    const double pms = nPlotWidth / dDurationMs;
    const double ps = 1000.0 * pms;
    const double pmin = 60.0 * ps;
    if (nClientWidth / pmin > 5) {
        l.m_eUnit = TimeScaleLayout::Unit::Minutes;
        l.m_dSpacing = pmin;
        l.m_nSubdivisions = 6;
        l.m_dEnd = dDurationMs / 60000.0;
    } else if (nClientWidth / ps > 5) {
        l.m_eUnit = TimeScaleLayout::Unit::Seconds;
        l.m_dSpacing = ps;
        l.m_dEnd = dDurationMs / 1000.0;
    } else {
        l.m_eUnit = TimeScaleLayout::Unit::Milliseconds;
        l.m_dSpacing = pms;
        l.m_dEnd = dDurationMs;
    }
    if (l.m_dSpacing < 60.0 && l.m_dSpacing > 0.0) {
        const double k = 60.0 / l.m_dSpacing;
        l.m_nLabelStep = k >= 1.0 && k < 2e9 ? static_cast<int>(k) : 1;
        if (l.m_nLabelStep > 1)
            l.m_nMinorStep = std::max(1, l.m_nLabelStep / 10);
    }
    return l;
}

QString TimeScaleLabel(TimeScaleLayout::Unit eUnit, int v)
{
    auto minSec = [](int seconds) {
        return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
    };
    switch (eUnit) {
    case TimeScaleLayout::Unit::Minutes: return QStringLiteral("%1:00").arg(v);
    case TimeScaleLayout::Unit::Seconds: return minSec(v);
    case TimeScaleLayout::Unit::Milliseconds: break;
    }
    QString text = minSec(v / 1000);
    if (v % 1000 >= 1)
        text += QStringLiteral(".%1").arg(v % 1000, 3, 10, QLatin1Char('0'));
    return text;
}

void DrawTimeScale(Canvas& dc, const TimeScaleLayout& l, int sx)
{
    if (l.m_dSpacing <= 0.0)
        return;
    dc.SelectFont(MakeFontDesc(QStringLiteral("Century Gothic"), 14));
    dc.SetTextColour(kBlack);
    dc.SetBkColour(kMenuColour);
    dc.SetBkMode(BkMode::Transparent);
    dc.SelectPen(Pen::Solid(1, kBlack));
    const int W = dc.Width();
    const int k = l.m_nLabelStep;
    for (long long v = 0; v < l.m_dEnd; v += k) {
        const int x = static_cast<int>(v * l.m_dSpacing + 10) - sx;
        if (x > W + 100)
            break;
        if (x >= -100) {
            dc.MoveTo(x, 19);
            dc.LineTo(x, 14);
            dc.TextOut(static_cast<int>(v * l.m_dSpacing + 5) - sx, 0, TimeScaleLabel(l.m_eUnit, static_cast<int>(v)));
        }
        if (v > l.m_dEnd - 1)
            continue;
        if (k > 1) {
            for (int j = 0; j < k - l.m_nMinorStep + 1; j += l.m_nMinorStep) {
                const int mx = static_cast<int>((v + j) * l.m_dSpacing + 10) - sx;
                dc.MoveTo(mx, 19);
                dc.LineTo(mx, 17);
            }
        } else {
            for (int j = 1; j < l.m_nSubdivisions; ++j) {
                const int mx = static_cast<int>(v * l.m_dSpacing + j * l.m_dSpacing / l.m_nSubdivisions + 10) - sx;
                dc.MoveTo(mx, 19);
                dc.LineTo(mx, 17);
            }
        }
    }
}
