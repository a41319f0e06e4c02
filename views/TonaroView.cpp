#include "TonaroView.h"

#include "Canvas.h"
#include "EnvelopeEditor.h"
#include "HuellkurveDlg.h"
#include "QtCanvas.h"
#include "TonaroDoc.h"
#include "ViewColours.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {
// Lowers a sample index to an even number (toward zero).
int64_t EvenDown(int64_t n)
{
    return n - n % 2;
}
} // namespace

CTonaroView::CTonaroView(CTonaroDoc* pDoc, QWidget* pParent)
    : QWidget(pParent), m_pDoc(pDoc), m_pEnvelope(std::make_unique<CEnvelopeEditor>(*this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(20, 20);
    setFocusPolicy(Qt::StrongFocus);
    if (m_pDoc)
        m_pDoc->AddView(this);
    OnInitialUpdate();
}

CTonaroView::~CTonaroView()
{
    if (m_pDoc)
        m_pDoc->RemoveView(this);
}

void CTonaroView::OnInitialUpdate()
{
    m_rcZoom = {};
    m_rcPrevZoom = {};
    m_nOverviewPlotWidth = 0;
    m_rcBand = {};
    m_ptDrag = {};
    m_bDragging = false;
    m_ptMarker1 = {};
    m_ptMarker2 = {};
    m_nVertZoom = 1;
    m_nHorzZoom = 1;
    m_nPrecision = 100;
    m_nDisplayMode = 1;
    m_bResetRequest = false;
}

void CTonaroView::OnUpdate(int nHint)
{
    if (nHint == kHintRefresh) {
        m_waveKey = {};
        update();
    }
}

int CTonaroView::SampleOffset(int nIndex, int nHeight) const
{
    const int half = (nHeight - 20) * m_nVertZoom / 2;
    int d = 0;
    if (m_pDoc->m_nBitsPerSample == 8) {
        const int s = m_pDoc->m_pRawData[static_cast<size_t>(nIndex)];
        d = static_cast<int>(static_cast<int64_t>(half) * (s - 128) / 128);
    } else {
        const size_t at = static_cast<size_t>(nIndex) * 2;
        const int s = static_cast<int16_t>(m_pDoc->m_pRawData[at] | (m_pDoc->m_pRawData[at + 1] << 8));
        d = static_cast<int>(static_cast<int64_t>(half) * s / 32768);
    }
    return static_cast<int16_t>(d);
}

bool CTonaroView::UpdateRange(int W)
{
    const int P = W - 20;
    const bool bSound = m_pDoc && m_pDoc->m_nRawSize >= 2 &&
                        static_cast<int>(m_pDoc->m_pRawData.size()) >= m_pDoc->m_nRawSize;
    if (!bSound)
        return false;
    const bool bZoomMoved = m_rcZoom.left != m_rcPrevZoom.left && m_rcZoom.right != m_rcPrevZoom.right;
    if (bZoomMoved || m_bResetRequest) {
        m_rcBand = {};
        m_ptDrag = {};
        m_bDragging = false;
        m_ptMarker1 = {};
        m_ptMarker2 = {};
    }
    const int64_t n = m_pDoc->NumSamples();
    int64_t first = 0;
    int64_t last = 0;
    if (m_nOverviewPlotWidth > 0) {
        first = EvenDown(static_cast<int64_t>(m_rcZoom.left) * n / m_nOverviewPlotWidth);
        last = EvenDown(static_cast<int64_t>(m_rcZoom.right) * n / m_nOverviewPlotWidth);
    }
    first = std::clamp<int64_t>(first, 0, n);
    last = std::clamp<int64_t>(last, first, n);
    m_dFirst = static_cast<double>(first);
    m_dLast = static_cast<double>(last);
    m_nRange = static_cast<int>(last - first);
    if (m_nRange <= 0 || P <= 0)
        return false;
    m_nStep = std::max(1, static_cast<int>(std::ceil(static_cast<double>(m_nRange) / P / m_nPrecision)));
    m_bResetRequest = false;
    if (bZoomMoved)
        m_rcPrevZoom = m_rcZoom;
    return true;
}

void CTonaroView::DrawWaveform(Canvas& dc) const
{
    const int H = dc.Height();
    const int P = dc.Width() - 20;
    const int64_t first = static_cast<int64_t>(m_dFirst);
    const int64_t range = m_nRange;
    std::vector<CanvasPoint> points;
    points.reserve(static_cast<size_t>(range / m_nStep + 2));
    for (int64_t i = first; i < first + range; i += m_nStep) {
        const int d = SampleOffset(static_cast<int>(i), H);
        const int x = static_cast<int>((i - first) * P / range) + 10;
        points.push_back({x, (H - 20) / 2 - d + 10});
    }
    if (points.size() == 1)
        points.push_back(points.front());
    dc.SelectPen(Pen::Solid(1, kRed));
    dc.Polyline(points);
}

void CTonaroView::DrawOverlays(Canvas& dc)
{
    const int W = dc.Width();
    const int H = dc.Height();
    if (m_ptDrag.x != 0) {
        const int right = m_bDragging ? m_ptDrag.x : m_rcBand.right;
        dc.SelectPen(Pen::Solid(1, kDarkGrey));
        dc.SelectBrush(Brush::Hatched(HatchStyle::DiagCross, kBlack));
        dc.SetBkMode(BkMode::Transparent);
        const RasterMode old = dc.SetRasterMode(RasterMode::Invert);
        dc.Rectangle(CanvasRect{std::min(m_rcBand.left, right), 10, std::max(m_rcBand.left, right), H - 10});
        dc.SetRasterMode(old);
    }

    dc.SetRasterMode(RasterMode::Copy);
    dc.SelectPen(Pen::Solid(2, kBlue));
    for (const CanvasPoint& m : {m_ptMarker1, m_ptMarker2}) {
        if (m.x == 0) {
            m_bEnvelopeShown = false;
            continue;
        }
        dc.MoveTo(m.x, 0);
        dc.LineTo(m.x, H);
    }

    const Brush menu = Brush::Solid(kMenuColour);
    dc.FillRect({0, 0, 10, H}, menu);
    dc.FillRect({0, 0, W, 9}, menu);
    dc.FillRect({W - 10, 0, W, H}, menu);
    dc.FillRect({0, H - 9, W, H}, menu);
}

void CTonaroView::Draw(Canvas& dc)
{
    if (UpdateRange(dc.Width()))
        DrawWaveform(dc);
    DrawOverlays(dc);
}

void CTonaroView::paintEvent(QPaintEvent*)
{
    // The waveform is drawn once per stretch, size and zoom; band and markers
    // go on a copy, so dragging a selection stays quick on long stretches.
    const bool bWave = UpdateRange(width());
    const WaveLayerKey key{size(), m_rcZoom, m_nOverviewPlotWidth, m_nVertZoom, m_nPrecision,
                           m_pDoc ? m_pDoc->m_pRawData.data() : nullptr, m_pDoc ? m_pDoc->m_nRawSize : 0,
                           m_pDoc ? m_pDoc->m_nBitsPerSample : 0, bWave};
    if (!(key == m_waveKey) || m_imgWave.size() != size()) {
        m_imgWave = QImage(size(), QImage::Format_RGB32);
        m_imgWave.fill(Qt::black);
        if (bWave) {
            QtCanvas dc(m_imgWave);
            DrawWaveform(dc);
            dc.Flush();
        }
        m_waveKey = key;
    }
    QImage image = m_imgWave.copy();
    {
        QtCanvas dc(image);
        DrawOverlays(dc);
        dc.Flush();
    }
    QPainter painter(this);
    painter.drawImage(0, 0, image);
}

void CTonaroView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_bResetRequest = true;
    update();
}

void CTonaroView::SetZoomWindow(const CanvasRect& rcZoom, int nOverviewPlotWidth)
{
    m_rcZoom = rcZoom;
    m_nOverviewPlotWidth = nOverviewPlotWidth;
    update();
}

void CTonaroView::SetHorizontalZoomPosition(int nPosition)
{
    m_nHorzZoom = 2 * nPosition + 1;
}

void CTonaroView::SetVerticalZoomPosition(int nPosition)
{
    m_nVertZoom = std::clamp(21 - nPosition, 1, 21);
    m_bResetRequest = true;
    update();
}

void CTonaroView::SetPrecision(int nPrecision)
{
    m_nPrecision = std::max(1, nPrecision);
    m_bResetRequest = true;
    update();
}

void CTonaroView::SetDisplayMode(int nMode)
{
    m_nDisplayMode = nMode;
    m_bResetRequest = true;
    update();
}

int CTonaroView::ClampX(int x) const
{
    return std::clamp(x, 10, std::max(10, width() - 10));
}

int CTonaroView::SampleAtPixel(int x) const
{
    const int P = width() - 20;
    if (P <= 0)
        return 0;
    return static_cast<int>(static_cast<double>(x) * m_nRange / P + m_dFirst);
}

void CTonaroView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    const int x = ClampX(event->position().toPoint().x());
    m_rcBand = {x, event->position().toPoint().y(), 10, 0};
    m_ptDrag = {x, event->position().toPoint().y()};
    m_bDragging = true;
    update();
}

void CTonaroView::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() != Qt::LeftButton || !m_bDragging)
        return;
    m_ptDrag = {ClampX(event->position().toPoint().x()), event->position().toPoint().y()};
    if (m_fnSamples) {
        const unsigned count = static_cast<unsigned>(std::abs(SampleAtPixel(m_ptDrag.x) - SampleAtPixel(m_rcBand.left)));
        m_fnSamples(QString::number(count));
    }
    update();
}

void CTonaroView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_bDragging)
        return QWidget::mouseReleaseEvent(event);
    m_bDragging = false;
    const int x = ClampX(event->position().toPoint().x());
    m_rcBand.right = x;
    m_rcBand.bottom = event->position().toPoint().y();
    m_ptDrag = {x, m_rcBand.bottom};
    if (m_rcBand.left > m_rcBand.right) {
        std::swap(m_rcBand.left, m_rcBand.right);
        std::swap(m_rcBand.top, m_rcBand.bottom);
    }
    update();
    const int P = width() - 20;
    if (m_nRange <= 0 || P <= 0 || !m_pDoc)
        return;
    int64_t start = static_cast<int64_t>(static_cast<double>(m_rcBand.left - 10) * m_nRange / P + m_dFirst);
    int64_t end = static_cast<int64_t>(static_cast<double>(m_rcBand.right - 10) * m_nRange / P + m_dFirst);
    if (m_pDoc->m_nBitsPerSample != 8) {
        start = EvenDown(start);
        end = EvenDown(end);
    }
    m_pDoc->SelectRange(start, end);
}

void CTonaroView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseDoubleClickEvent(event);
    OnMarkerClick({event->position().toPoint().x(), event->position().toPoint().y()});
}

void CTonaroView::OnMarkerClick(CanvasPoint p)
{
    if (std::abs(m_ptMarker1.x - p.x) < 5)
        m_ptMarker1 = {};
    else if (std::abs(m_ptMarker2.x - p.x) < 5)
        m_ptMarker2 = {};
    else if (m_ptMarker1.x == 0)
        m_ptMarker1 = p;
    else if (m_ptMarker2.x == 0)
        m_ptMarker2 = p;
    else if (std::abs(m_ptMarker1.x - p.x) < std::abs(m_ptMarker2.x - p.x))
        m_ptMarker1 = p;
    else
        m_ptMarker2 = p;
    if (m_ptMarker1.x != 0 && m_ptMarker2.x != 0 && m_ptMarker1.x > m_ptMarker2.x)
        std::swap(m_ptMarker1, m_ptMarker2);
    update();
}

void CTonaroView::OpenEnvelopeEditor()
{
    if (m_pEnvelope->Open(m_ptMarker1.x, m_ptMarker2.x))
        m_bEnvelopeShown = true;
    update();
}

CHuellkurveDlg* CTonaroView::EnvelopeDialog() const
{
    return m_pEnvelope->Dialog();
}

ViewExportInfo CTonaroView::ExportInfo() const
{
    ViewExportInfo info;
    info.m_strHelpPage = QStringLiteral("html/Hauptfenster.html");
    info.m_strSaveTitle = QStringLiteral("Speichert diese Waveansicht...");
    info.m_strSaveImageTitle = QStringLiteral("Wave Abbild");
    info.m_strCopyImageTitle = QStringLiteral("View Abbild");
    return info;
}

CanvasSize CTonaroView::PictureSize() const
{
    return {width(), height()};
}

void CTonaroView::DrawPicture(Canvas& dc, bool)
{
    dc.FillRect({0, 0, dc.Width(), dc.Height()}, Brush::Solid(kBlack));
    Draw(dc);
}
