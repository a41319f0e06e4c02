#include "TonaroOverView.h"

#include "Canvas.h"
#include "ProgramFlags.h"
#include "QtCanvas.h"
#include "TimeScale.h"
#include "TonaroDoc.h"
#include "TonaroView.h"
#include "ViewColours.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cstdint>

CTonaroOverView::CTonaroOverView(CTonaroDoc* pDoc, QWidget* pParent) : QAbstractScrollArea(pParent), m_pDoc(pDoc)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(40, 40);
    if (m_pDoc)
        m_pDoc->AddView(this);
    OnInitialUpdate();
}

CTonaroOverView::~CTonaroOverView()
{
    if (m_pDoc)
        m_pDoc->RemoveView(this);
}

void CTonaroOverView::OnInitialUpdate()
{
    m_nBandLeft = m_nBandRight = 0;
    m_ptStart = m_ptEnd = {};
    m_aTrace.clear();
    m_nTraceNextX = 10;
    m_nHorzZoom = 1;
    m_nVertZoom = 1;
    UpdateScrollRange();
}

int CTonaroOverView::ClientWidth() const
{
    return viewport()->width();
}

int CTonaroOverView::ClientHeight() const
{
    return viewport()->height();
}

int CTonaroOverView::LogicalWidth() const
{
    return m_nHorzZoom * ClientWidth();
}

int CTonaroOverView::ScrollX() const
{
    return horizontalScrollBar()->value();
}

void CTonaroOverView::UpdateScrollRange()
{
    QScrollBar* bar = horizontalScrollBar();
    bar->setRange(0, std::max(0, LogicalWidth() - ClientWidth()));
    bar->setPageStep(std::max(1, ClientWidth()));
    bar->setSingleStep(std::max(1, ClientWidth() / 20));
}

void CTonaroOverView::OnUpdate(int nHint)
{
    switch (nHint) {
    case kHintRefresh:
        m_signalKey = {};
        m_bCaretShown = true;
        if (g_bListening)
            AppendTraceBlock();
        viewport()->update();
        break;
    case kHintRemoving:
        ResetBand();
        m_bCaretShown = false;
        viewport()->update();
        break;
    case kHintPlayBlock:
        FollowPlayPosition();
        break;
    case kHintChannelChosen:
        viewport()->update();
        break;
    default:
        break;
    }
}

void CTonaroOverView::DrawWaveform(Canvas& dc, int W, int H, int sx)
{
    if (!m_pDoc || m_pDoc->m_nRawSize <= 50 || static_cast<int>(m_pDoc->m_pRawData.size()) < m_pDoc->m_nRawSize)
        return;
    const int64_t n = m_pDoc->NumSamples();
    const int P = m_nHorzZoom * W - 20;
    if (P <= 0)
        return;
    const double spp = static_cast<double>(n) / P;
    const int64_t step = std::max<int64_t>(1, static_cast<int64_t>(spp / 100));
    const int centre = (H - 21) / 2 + 20;
    const int half = m_nVertZoom * (H - 21) / 2;
    const int64_t from = static_cast<int64_t>(std::max(0.0, (sx - 10) * spp));
    const int64_t to = static_cast<int64_t>(std::min(static_cast<double>(n), (sx + W) * spp));
    std::vector<CanvasPoint> points;
    points.reserve(static_cast<size_t>(std::max<int64_t>(0, (to - from) / step) + 2));
    points.push_back({10 - sx, centre});
    const uint8_t* raw = m_pDoc->m_pRawData.data();
    const bool b8 = m_pDoc->m_nBitsPerSample == 8;
    for (int64_t i = from; i < to; i += step) {
        int d = 0;
        if (b8) {
            d = static_cast<int>(static_cast<int64_t>(half) * (raw[i] - 128) / 128);
        } else {
            const int s = static_cast<int16_t>(raw[2 * i] | (raw[2 * i + 1] << 8));
            d = static_cast<int>(static_cast<int64_t>(half) * s / 32768);
        }
        const int16_t d16 = static_cast<int16_t>(d);
        points.push_back({static_cast<int>(static_cast<double>(i) / spp) + 10 - sx, centre - d16});
    }
    dc.SelectPen(Pen::Solid(1, kRed));
    dc.Polyline(points);
}

int CTonaroOverView::ScrollFor(int W) const
{
    return std::clamp(ScrollX(), 0, std::max(0, m_nHorzZoom * W - W));
}

void CTonaroOverView::DrawSignal(Canvas& dc)
{
    const int W = dc.Width();
    dc.SetRasterMode(RasterMode::Copy);
    if (g_bListening) {
        if (m_aTrace.size() >= 2) {
            dc.SelectPen(Pen::Solid(1, kRed));
            dc.Polyline(m_aTrace);
        }
    } else {
        m_aTrace.clear();
        m_nTraceNextX = 10;
        DrawWaveform(dc, W, dc.Height(), ScrollFor(W));
    }
}

void CTonaroOverView::DrawOverlays(Canvas& dc)
{
    const int W = dc.Width();
    const int H = dc.Height();
    const int LW = m_nHorzZoom * W;
    const int sx = ScrollFor(W);
    if (m_nBandRight != 0) {
        dc.SelectPen(Pen::Null());
        dc.SelectBrush(Brush::Solid(kBlack));
        const RasterMode old = dc.SetRasterMode(RasterMode::Invert);
        const int l = std::min(m_nBandLeft, m_nBandRight);
        const int r = std::max(m_nBandLeft, m_nBandRight);
        dc.Rectangle(l - sx, 20, r + 1 - sx, H);
        dc.SetRasterMode(old);
    }
    const int X = std::max(LW, W);
    const Brush menu = Brush::Solid(kMenuColour);
    dc.FillRect({-sx, 0, X - sx, 20}, menu);
    dc.FillRect({-sx, 0, 11 - sx, H}, menu);
    dc.FillRect({X - 10 - sx, 0, X - sx, H}, menu);
    dc.FillRect({0, H - 1, W, H}, menu);
    if (g_bWaveLoaded && m_pDoc && m_pDoc->m_nSampleRate > 0) {
        const double ms = std::max(1.0, static_cast<double>(m_pDoc->NumSamples()) / m_pDoc->m_nSampleRate * 1000.0);
        DrawTimeScale(dc, LayoutTimeScale(ms, LW - 20, W), sx);
    }
}

void CTonaroOverView::Draw(Canvas& dc)
{
    DrawSignal(dc);
    DrawOverlays(dc);
}

void CTonaroOverView::paintEvent(QPaintEvent*)
{
    // The waveform is drawn once per size, zoom and scroll position; band,
    // strips and time scale go on a copy, so framing a stretch stays quick.
    const QSize size = viewport()->size();
    const SignalLayerKey key{size,
                             m_nHorzZoom,
                             m_nVertZoom,
                             ScrollFor(size.width()),
                             m_pDoc ? m_pDoc->m_pRawData.data() : nullptr,
                             m_pDoc ? m_pDoc->m_nRawSize : 0,
                             m_pDoc ? m_pDoc->m_nBitsPerSample : 0};
    if (g_bListening || !(key == m_signalKey) || m_imgSignal.size() != size) {
        m_imgSignal = QImage(size, QImage::Format_RGB32);
        m_imgSignal.fill(Qt::black);
        QtCanvas dc(m_imgSignal);
        DrawSignal(dc);
        dc.Flush();
        m_signalKey = g_bListening ? SignalLayerKey{} : key;
    }
    QImage image = m_imgSignal.copy();
    {
        QtCanvas dc(image);
        DrawOverlays(dc);
        dc.Flush();
    }
    QPainter painter(viewport());
    painter.drawImage(0, 0, image);
    if (m_bCaretShown && g_bWaveLoaded) {
        painter.setPen(QPen(Qt::white, 1));
        painter.drawLine(m_nCaretX, 20, m_nCaretX, image.height() - 2);
    }
}

void CTonaroOverView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    ResetBand();
    UpdateScrollRange();
    viewport()->update();
}

void CTonaroOverView::scrollContentsBy(int, int)
{
    viewport()->update();
}

void CTonaroOverView::SetHorizontalZoomPosition(int nPosition)
{
    m_nHorzZoom = 2 * std::clamp(nPosition, 0, 20) + 1;
    ResetBand();
    UpdateScrollRange();
    viewport()->update();
}

void CTonaroOverView::SetVerticalZoomPosition(int nPosition)
{
    m_nVertZoom = 81 - 4 * std::clamp(nPosition, 0, 20);
    viewport()->update();
}

int CTonaroOverView::ClampX(int x) const
{
    const int W = ClientWidth();
    const int sx = ScrollX();
    if (x < 10 && sx < 10)
        x = 10;
    if (x > W - 10 && sx >= LogicalWidth() - W - 1)
        x = W - 10;
    return x;
}

void CTonaroOverView::ResetBand()
{
    m_nBandLeft = m_nBandRight = 0;
    m_ptStart = m_ptEnd = {};
    m_bDragging = false;
    if (m_pWaveView)
        m_pWaveView->SetZoomWindow({}, PlotWidth());
    if (m_pDoc)
        m_pDoc->SetMarkers(0, 0);
    viewport()->update();
}

void CTonaroOverView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    const QPoint p = event->position().toPoint();
    const int x = ClampX(p.x());
    const int sx = ScrollX();
    ResetBand();
    m_bDragging = true;
    m_nBandLeft = m_nBandRight = x + sx;
    m_ptStart = {std::max(0, x + sx - 10), p.y()};
    if (g_bWaveLoaded && m_pDoc && m_pDoc->m_pPlaySound && PlotWidth() > 0) {
        int64_t bytes = static_cast<int64_t>(m_ptStart.x) * m_pDoc->m_nPlayDataSize / PlotWidth();
        if (m_pDoc->m_nPlayBitsPerSample != 8)
            bytes -= bytes % 2; // keep whole 16-bit samples
        m_pDoc->m_pPlaySound->SetPosition(static_cast<uint32_t>(std::max<int64_t>(0, bytes)));
    }
    m_nCaretX = x;
    m_bCaretShown = true;
    if (m_fnSamples)
        m_fnSamples(QStringLiteral("0"));
    viewport()->update();
}

void CTonaroOverView::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() != Qt::LeftButton || !m_bDragging)
        return;
    const int x = ClampX(event->position().toPoint().x());
    m_nCaretX = x;
    m_nBandRight = x + ScrollX();
    viewport()->update();
}

void CTonaroOverView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_bDragging)
        return QAbstractScrollArea::mouseReleaseEvent(event);
    m_bDragging = false;
    const QPoint p = event->position().toPoint();
    const int x = ClampX(p.x());
    const int sx = ScrollX();
    m_ptEnd = {x + sx - 10, p.y()};
    if (m_ptStart.x > m_ptEnd.x)
        std::swap(m_ptStart, m_ptEnd);
    if (m_pWaveView)
        m_pWaveView->SetZoomWindow({m_ptStart.x, m_ptStart.y, m_ptEnd.x, m_ptEnd.y}, PlotWidth());
    m_nBandRight = x + sx;
    if (m_nBandLeft > m_nBandRight)
        std::swap(m_nBandLeft, m_nBandRight);
    viewport()->update();
    if (!m_pDoc || PlotWidth() <= 0)
        return;
    const bool b16 = m_pDoc->m_nBitsPerSample != 8;
    const int64_t n = m_pDoc->NumSamples();
    const int64_t np = b16 ? m_pDoc->m_nPlayDataSize / 2 : m_pDoc->m_nPlayDataSize;
    const int64_t w = PlotWidth();
    int64_t a = m_ptStart.x * n / w;
    int64_t b = m_ptEnd.x * n / w;
    const int64_t ap = m_ptStart.x * np / w;
    const int64_t bp = m_ptEnd.x * np / w;
    if (b16) {
        a -= a % 2;
        b -= b % 2;
    }
    if (b - a < 21) {
        m_pDoc->SetMarkers(0, 0);
        return;
    }
    if (m_fnSchool && m_fnSchool())
        m_pDoc->SelectRange(a, b);
    m_pDoc->SetMarkers(static_cast<uint32_t>(ap), static_cast<uint32_t>(bp));
}

void CTonaroOverView::AppendTraceBlock()
{
    const std::vector<double>& block = m_pDoc->m_aSignal;
    const double F = m_pDoc->m_dFullScale;
    if (block.size() <= 1 || F <= 0.0)
        return;
    const int W = ClientWidth();
    const int H = ClientHeight();
    const double k = m_pDoc->m_bSigned ? 2.0 : 1.0;
    const double scale = (H - 21) / F / k;
    int x = m_nTraceNextX;
    for (size_t i = 0; i < block.size(); i += 10) {
        x = m_nTraceNextX + static_cast<int>(i / 1000);
        if (x >= W - 12) {
            m_aTrace.clear();
            m_nTraceNextX = 10;
            x = 10;
        }
        m_aTrace.push_back({x, static_cast<int>((F - block[i]) * scale) + 20});
    }
    m_nTraceNextX = x;
}

void CTonaroOverView::FollowPlayPosition()
{
    if (!m_pDoc || m_pDoc->m_nPlayDataSize <= 0)
        return;
    const int W = ClientWidth();
    const double bytes = static_cast<double>(m_pDoc->m_nPlayPos) * (m_pDoc->m_nBitsPerSample == 8 ? 1 : 2);
    int x = static_cast<int>(bytes / m_pDoc->m_nPlayDataSize * PlotWidth() - ScrollX()) + 10;
    if (x < 10) {
        horizontalScrollBar()->setValue(0);
        x = 10;
    } else if (x > W) {
        x -= W;
        horizontalScrollBar()->setValue(ScrollX() + W);
    }
    m_nCaretX = x;
    m_bCaretShown = true;
    viewport()->update();
}
