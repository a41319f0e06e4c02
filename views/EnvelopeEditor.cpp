#include "EnvelopeEditor.h"

#include "EmfCanvas.h"
#include "HuellkurveDlg.h"
#include "QtCanvas.h"
#include "SplineDrawing.h"
#include "TonaroDoc.h"
#include "TonaroView.h"
#include "UiServices.h"
#include "ViewColours.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
const QString kMissingMarkers = QStringLiteral(
    "Bitte mit einem Doppelklick der linken Maustaste zwei Marker setzen, die einen Ausschnitt festlegen, der der "
    "Darstellung der Einhüllenden als Grundlage dient.");

void DrawCross(Canvas& dc, CanvasPoint p, ColourRef colour)
{
    dc.SelectPen(Pen::Solid(1, colour));
    dc.MoveTo(p.x - 3, p.y);
    dc.LineTo(p.x + 3, p.y);
    dc.MoveTo(p.x, p.y - 3);
    dc.LineTo(p.x, p.y + 3);
}

// Merges a scaled point list into a stored one: equal x averages y, other points are inserted.
void MergeInto(std::vector<CanvasPoint>& stored, const std::vector<CanvasPoint>& scaled)
{
    for (const CanvasPoint& p : scaled) {
        if (stored.empty()) {
            stored.push_back(p);
            continue;
        }
        size_t j = 0;
        while (j < stored.size() && p.x > stored[j].x)
            ++j;
        if (j == stored.size())
            j = stored.size() - 1;
        if (p.x == stored[j].x)
            stored[j].y = (p.y + stored[j].y) / 2;
        else
            stored.insert(stored.begin() + static_cast<std::ptrdiff_t>(j), p);
    }
}
} // namespace

CEnvelopeEditor::CEnvelopeEditor(CTonaroView& view) : m_view(view) {}

CEnvelopeEditor::~CEnvelopeEditor() = default;

CanvasSize CEnvelopeEditor::ViewSize() const
{
    return {m_view.width(), m_view.height()};
}

bool CEnvelopeEditor::Open(int m1, int m2)
{
    const int first = static_cast<int>(m_view.FirstSample());
    const int last = static_cast<int>(m_view.LastSample());
    if (last - first == 0)
        return false;
    if (m1 == 0 || m2 == 0) {
        Ui().Message(kMissingMarkers);
        return false;
    }
    const int W = m_view.width();
    if (W <= 0)
        return false;
    const int a = static_cast<int>(static_cast<int64_t>(m1) * (last - first) / W + first);
    const int b = static_cast<int>(static_cast<int64_t>(m2) * (last - first) / W + first);
    ComputeEnvelope(a, b);
    if (!ScaleAndMerge(m1))
        return false;
    m_aOutline = m_aStoredUpper;
    m_aOutline.insert(m_aOutline.end(), m_aStoredLower.rbegin(), m_aStoredLower.rend());
    RenderEnvelope(m_aOutline, nullptr, false);
    return true;
}

bool CEnvelopeEditor::ScaleAndMerge(int m1)
{
    const auto [W, H] = ViewSize();
    if (m_aUpper.empty() || m_aLower.empty())
        return false;
    int ymin = H / 2;
    for (const CanvasPoint& p : m_aUpper)
        ymin = std::min(ymin, p.y);
    int ymax = 0;
    for (const CanvasPoint& p : m_aLower)
        ymax = std::max(ymax, p.y);
    const int m = std::min(ymin, H - ymax);
    const int xlast = std::max(m_aUpper.back().x, m_aLower.back().x);
    // An envelope ending at the left marker, or one filling the whole height, has no scale.
    if (xlast == m1 || H == 2 * m)
        return false;
    auto scale = [&](const std::vector<CanvasPoint>& in) {
        std::vector<CanvasPoint> out;
        for (size_t i = 1; i < in.size(); ++i) {
            const CanvasPoint q{static_cast<int>(static_cast<int64_t>(in[i].x - m1) * W / (xlast - m1)),
                                static_cast<int>(static_cast<int64_t>(in[i].y - m) * H / (H - 2 * m))};
            if (out.empty() || q.x > out.back().x)
                out.push_back(q);
        }
        return out;
    };
    const std::vector<CanvasPoint> upper = scale(m_aUpper);
    const std::vector<CanvasPoint> lower = scale(m_aLower);
    if (m_aStoredUpper.size() <= 1) {
        m_aStoredUpper = upper;
        m_aStoredLower = lower;
    } else {
        MergeInto(m_aStoredUpper, upper);
        MergeInto(m_aStoredLower, lower);
    }
    return true;
}

void CEnvelopeEditor::ComputeEnvelope(int a, int b)
{
    m_aUpper.clear();
    m_aLower.clear();
    const CTonaroDoc* pDoc = m_view.GetDocument();
    if (!pDoc || pDoc->m_nRawSize < 2)
        return;
    if (pDoc->m_nBitsPerSample != 8) {
        a -= a % 2;
        b -= b % 2;
    }
    const int first = static_cast<int>(m_view.FirstSample());
    const int last = std::min(static_cast<int>(m_view.LastSample()), pDoc->NumSamples());
    b = std::min(b, last);
    a = std::max(a, 0);
    if (a >= b || last <= first)
        return;
    const auto [W, H] = ViewSize();
    auto d = [&](int i) { return m_view.SampleOffset(i, H); };
    int i = a;
    while (i < b) {
        const int start = i;
        int top = 0;
        int bottom = 0;
        for (int period = 0; period < 7 && i < b; ++period) {
            while (i < b && d(i) > 0)
                top = std::max(top, d(i++));
            while (i < last && d(i) == 0)
                ++i;
            while (i < last && d(i) < 0)
                bottom = std::min(bottom, d(i++));
            while (i < last && d(i) == 0)
                ++i;
        }
        if (i == start)
            ++i; // a run that cannot go on still ends the group
        const int mid = i - (i - start) / 2;
        const int x = static_cast<int>(static_cast<int64_t>(mid - first) * W / (last - first));
        m_aUpper.push_back({x, (H - 20) / 2 - top + 10});
        m_aLower.push_back({x, (H - 20) / 2 - bottom + 10});
    }
}

void CEnvelopeEditor::BuildSupport(const std::vector<CanvasPoint>& points)
{
    const int W = ViewSize().cx;
    const int H = ViewSize().cy;
    m_aSupport.clear();
    struct Phase {
        int m_nStep;
        int m_nCondition; // 0 below limit, 1 above limit, 2 none
        int m_nLimit;
    };
    const Phase phases[] = {{3, 0, W / 8},  {10, 0, W / 4},      {30, 0, 3 * W / 4}, {10, 1, 3 * W / 4},
                            {30, 1, W / 4}, {10, 1, W / 8},      {3, 2, 0}};
    size_t k = 0;
    for (const Phase& ph : phases) {
        while (k < points.size()) {
            const int x = points[k].x;
            if ((ph.m_nCondition == 0 && !(x < ph.m_nLimit)) || (ph.m_nCondition == 1 && !(x > ph.m_nLimit)))
                break;
            m_aSupport.push_back(points[k]);
            k += static_cast<size_t>(ph.m_nStep);
        }
    }
    for (const Edit& e : m_aEdits) {
        if (e.m_bRemove) {
            if (e.m_nIndex >= 3 && e.m_nIndex < static_cast<int>(m_aSupport.size()))
                m_aSupport.erase(m_aSupport.begin() + (e.m_nIndex - 2));
            continue;
        }
        size_t pos = 0;
        if (e.m_pt.y > H / 2) {
            while (pos < m_aSupport.size() && !(m_aSupport[pos].y > H / 2))
                ++pos;
            while (pos < m_aSupport.size() && m_aSupport[pos].x > e.m_pt.x)
                ++pos;
        } else {
            while (pos < m_aSupport.size() && !(m_aSupport[pos].x >= e.m_pt.x))
                ++pos;
        }
        m_aSupport.insert(m_aSupport.begin() + static_cast<std::ptrdiff_t>(pos), e.m_pt);
    }
    if (m_aSupport.empty())
        return;
    const CanvasPoint front = m_aSupport.front();
    const CanvasPoint back = m_aSupport.back();
    m_aSupport.insert(m_aSupport.begin(), 2, front);
    m_aSupport.insert(m_aSupport.end(), 2, back);
}

void CEnvelopeEditor::Draw(Canvas& dc, const std::vector<CanvasPoint>& points, bool bCurve)
{
    const auto [W, H] = ViewSize();
    dc.FillRect({0, 0, W, H}, Brush::Solid(kWhite));
    m_aSupport.clear();
    if (!bCurve) {
        for (const CanvasPoint& p : points)
            DrawCross(dc, p, kGreen);
    } else {
        BuildSupport(points);
        DrawBetaSpline(dc, m_aSupport, kBlue);
        for (const CanvasPoint& p : m_aSupport)
            DrawCross(dc, p, kRed);
    }
    dc.SelectPen(Pen::Solid(1, kDarkGrey));
    dc.MoveTo(W, H / 2);
    dc.LineTo(0, H / 2);
}

QByteArray CEnvelopeEditor::RenderEnvelope(const std::vector<CanvasPoint>& points, const QString* pFile, bool bCurve)
{
    const CanvasSize size = ViewSize();
    m_bCurve = bCurve;
    EmfCanvas emf(size, ExportInfo().m_strSaveImageTitle);
    Draw(emf, points, bCurve);
    QByteArray bytes = emf.Finish();
    if (pFile)
        emf.SaveFile(*pFile);
    m_imgPicture = QImage(std::max(1, size.cx), std::max(1, size.cy), QImage::Format_RGB32);
    {
        QtCanvas dc(m_imgPicture);
        Draw(dc, points, bCurve);
        dc.Flush();
    }
    ShowDialog();
    return bytes;
}

void CEnvelopeEditor::ShowDialog()
{
    if (!m_pDialog)
        m_pDialog = new CHuellkurveDlg(*this, &m_view);
    m_pDialog->SetPicture(m_imgPicture);
    m_pDialog->show();
}

void CEnvelopeEditor::OptimizePoints()
{
    const auto [W, H] = ViewSize();
    std::vector<CanvasPoint>& pts = m_aOutline;
    for (size_t ip = 0; ip < pts.size(); ++ip) {
        const int x = pts[ip].x;
        const int y = pts[ip].y;
        int left = 0, right = 0, above = 0, below = 0;
        for (CanvasPoint& q : pts) {
            const int dx = q.x - x;
            const int dy = q.y - y;
            const double dist = std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy);
            if (dist > 0 && dist < 2) {
                q = {2000, 2000};
                continue;
            }
            if (std::abs(dx) >= 40 || std::abs(dy) >= 40)
                continue;
            if (std::abs(dy) <= std::abs(dx))
                (dx < 0 ? left : right)++;
            if (std::abs(dx) <= std::abs(dy))
                (dy <= 0 ? above : below)++;
        }
        CanvasPoint& p = pts[ip];
        if (left > right + 4 && left > 4 && p.x > 1)
            --p.x;
        if (right > left + 4 && right > 4 && p.x < W)
            ++p.x;
        if (above > below + 4 && above > 4 && p.y > 1)
            --p.y;
        if (below > above + 4 && below > 4 && p.y < H)
            ++p.y;
    }
    std::erase_if(pts, [](const CanvasPoint& p) { return p.x == 2000; });
}

void CEnvelopeEditor::OnOptimize()
{
    OptimizePoints();
    RenderEnvelope(m_aOutline, nullptr, false);
}

void CEnvelopeEditor::OnDrawCurve()
{
    RenderEnvelope(m_aOutline, nullptr, true);
    m_aEdits.clear();
}

void CEnvelopeEditor::OnClearAndClose()
{
    m_aStoredUpper.clear();
    m_aStoredLower.clear();
    if (m_pDialog)
        m_pDialog->hide();
}

int CEnvelopeEditor::HitTest(CanvasPoint q) const
{
    for (size_t k = 0; k < m_aSupport.size(); ++k) {
        const double dx = m_aSupport[k].x - q.x;
        const double dy = m_aSupport[k].y - q.y;
        if (std::sqrt(dx * dx + dy * dy) <= 10.0)
            return static_cast<int>(k);
    }
    return -1;
}

void CEnvelopeEditor::OnLeftClick(CanvasPoint q)
{
    if (HitTest(q) < 0)
        m_aEdits.push_back({false, q, 0});
    RenderEnvelope(m_aOutline, nullptr, true);
}

void CEnvelopeEditor::OnRightClick(CanvasPoint q)
{
    const int k = HitTest(q);
    if (k >= 0)
        m_aEdits.push_back({true, {}, k});
    RenderEnvelope(m_aOutline, nullptr, true);
}

ViewExportInfo CEnvelopeEditor::ExportInfo() const
{
    ViewExportInfo info;
    info.m_strSaveTitle = QStringLiteral("Speichert diese Hüllkurvenansicht...");
    info.m_strSaveImageTitle = QStringLiteral("Hüllkurve");
    info.m_strCopyImageTitle = QStringLiteral("Hüllkurve");
    return info;
}

void CEnvelopeEditor::DrawPicture(Canvas& dc, bool)
{
    Draw(dc, m_aOutline, !m_aSupport.empty());
}

bool CEnvelopeEditor::OnSave()
{
    return ViewExport::SavePicture(*this);
}

bool CEnvelopeEditor::OnCopy()
{
    return ViewExport::CopyPicture(*this);
}
