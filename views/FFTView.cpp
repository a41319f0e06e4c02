#include "FFTView.h"

#include "ProfileSettings.h"
#include "ProgramFlags.h"
#include "QtCanvas.h"
#include "TonaroDoc.h"
#include "UiServices.h"
#include "ViewHost.h"
#include "resource_ids.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

CFFTView::CFFTView(CTonaroDoc* pDoc, QWidget* pParent) : QWidget(pParent), m_pDoc(pDoc)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMinimumSize(60, 60);
    if (m_pDoc)
        m_pDoc->AddView(this);
    if (ViewHost()) {
        ViewHost()->AppendWindowMenuEntry(Res::kCmdRaiseFFT, QStringLiteral("FFT"));
        m_plot.Settings().Load(ViewHost()->Settings());
    }
    if (pParent)
        ConnectDialogBar(pParent->findChild<QWidget*>(QStringLiteral("c168")));
    SyncControls();
    if (ViewHost())
        SetCurrentFft(ViewHost()->Settings().IniDokumentNumFFTPoints);
    else if (m_pDoc)
        SetCurrentFft(m_pDoc->m_nNumFFTPoints);
}

CFFTView::~CFFTView()
{
    if (ViewHost()) {
        m_plot.Settings().Store(ViewHost()->Settings());
        ViewHost()->RemoveWindowMenuEntry(Res::kCmdRaiseFFT);
    }
    if (m_pDoc) {
        m_pDoc->RemoveView(this);
        m_pDoc->m_pFFTFrame = nullptr;
    }
}

void CFFTView::OnUpdate(int nHint)
{
    if (!m_pDoc)
        return;
    if (nHint == kHintRefresh)
        SetCurrentFft(m_pDoc->m_nNumFFTPoints);
    if (g_bSelectionChanged)
        SetCurrentFft(m_pDoc->m_nSpectrumPoints);
    if (g_bPlaying || g_bListening)
        RedrawPlotArea();
    else
        Redraw();
}

void CFFTView::OnDeleteCaptures()
{
    m_plot.DeleteCaptures();
    if (!m_pDoc)
        return;
    m_pDoc->DeleteContents();
    Redraw();
    m_pDoc->UpdateAllViews(kHintRefresh);
}

const QImage& CFFTView::Picture()
{
    const QSize size = this->size();
    if (m_image.size() != size) {
        m_image = QImage(size, QImage::Format_RGB32);
        m_bDirty = true;
    }
    if (m_bDirty && m_pDoc && !m_image.isNull()) {
        QtCanvas dc(m_image);
        m_plot.Draw(dc, *m_pDoc);
        dc.Flush();
        m_bDirty = false;
    }
    return m_image;
}

QString CFFTView::CurrentFftText() const
{
    return m_pCurrentFft ? m_pCurrentFft->text() : QString();
}

ViewExportInfo CFFTView::ExportInfo() const
{
    ViewExportInfo info;
    info.m_strSaveTitle = QStringLiteral("Speichert diese FFT Ansicht...");
    info.m_strSaveImageTitle = QStringLiteral("FFT Abbild");
    info.m_strCopyImageTitle = QStringLiteral("FFT Abbild");
    info.m_strDataMessage = QStringLiteral(
        "Daten der Fouriertransformation wurden erfolgreich in die Zwischenablage kopiert.\n"
        "Sie können sie z.B. in Excel mit Strg-V einfügen.");
    return info;
}

CanvasSize CFFTView::PictureSize() const
{
    return {width(), height()};
}

void CFFTView::DrawPicture(Canvas& dc, bool bCopy)
{
    if (!m_pDoc)
        return;
    if (bCopy)
        m_plot.DrawCopy(dc, *m_pDoc);
    else
        m_plot.Draw(dc, *m_pDoc);
}

QString CFFTView::DataText()
{
    return m_pDoc ? CFFTPlot::DataText(*m_pDoc) : QString();
}

void CFFTView::paintEvent(QPaintEvent*)
{
    const QImage& image = Picture();
    QPainter painter(this);
    if (!m_bReadout || !m_pDoc) {
        painter.drawImage(0, 0, image);
        return;
    }
    // The read-out lies on top of the drawing until the button comes up.
    QImage withReadout = image.copy();
    {
        QtCanvas dc(withReadout);
        m_plot.DrawReadout(dc, m_ptReadout, *m_pDoc);
        dc.Flush();
    }
    painter.drawImage(0, 0, withReadout);
}

void CFFTView::resizeEvent(QResizeEvent* event)
{
    m_plot.OnSizeChanged();
    m_bDirty = true;
    QWidget::resizeEvent(event);
}

void CFFTView::mousePressEvent(QMouseEvent* event)
{
    const CanvasPoint p{event->position().toPoint().x(), event->position().toPoint().y()};
    if (event->button() == Qt::LeftButton) {
        m_plot.OnLeftButtonDown();
        m_bReadout = true;
        m_ptReadout = p;
        update();
    } else if (event->button() == Qt::RightButton) {
        if (m_plot.OnRightButtonDown(p))
            Redraw();
    }
}

void CFFTView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (event->buttons() != Qt::LeftButton || p.y() >= 20 || !m_pDoc)
        return;
    Ui().Beep(m_plot.ToneHz(p.x(), {width(), height()}, *m_pDoc), 50);
}

void CFFTView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_bReadout = false;
        Redraw();
    } else if (event->button() == Qt::RightButton) {
        if (m_pDoc && m_pDoc->m_pNotenbildFrame)
            m_pDoc->UpdateAllViews(kHintRefresh);
    }
}

void CFFTView::Redraw()
{
    m_bDirty = true;
    update();
}

void CFFTView::RedrawPlotArea()
{
    m_bDirty = true;
    update(QRect(20, 25, std::max(width() - 20, 0), std::max(height() - 45, 0)));
}
