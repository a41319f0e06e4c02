// The FFT window: shows the document's magnitude spectrum through CFFTPlot,
// drawn off screen and put on the window in one go, with the read-out on a
// left click, a tone while dragging in the top strip, peak editing by right
// clicks, and the controls of its dialog bar.  Offers picture and data export.
#pragma once

#include "CanvasTypes.h"
#include "DocView.h"
#include "FFTPlot.h"
#include "ViewExport.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

class CTonaroDoc;
class QAbstractButton;
class QLineEdit;
class QSpinBox;

class CFFTView : public QWidget, public CDocView, public CExportableView {
public:
    CFFTView(CTonaroDoc* pDoc, QWidget* pParent);
    ~CFFTView() override;

    CTonaroDoc* GetDocument() const { return m_pDoc; }
    CFFTPlot& Plot() { return m_plot; }
    void OnUpdate(int nHint) override;
    // "Alle Captures löschen": empties the plot and the document's results.
    void OnDeleteCaptures();
    // The picture as the window shows it (redrawn when something changed).
    const QImage& Picture();
    // Text of the "Aktuelle FFT" box ("Pt").
    QString CurrentFftText() const;

    // CExportableView
    ViewExportInfo ExportInfo() const override;
    CanvasSize PictureSize() const override;
    void DrawPicture(Canvas& dc, bool bCopy) override;
    QString DataText() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Dialog bar
    void ConnectDialogBar(QWidget* pBar);
    void SyncControls();
    void SetCurrentFft(int nPoints);
    void Redraw();
    // Redraws the plot only (the strips of the piano band and the axes stay).
    void RedrawPlotArea();

    CTonaroDoc* m_pDoc;
    CFFTPlot m_plot;
    QImage m_image;                 // the last drawing, client size
    bool m_bDirty = true;           // m_image must be drawn again
    bool m_bReadout = false;        // a left click's read-out is shown
    CanvasPoint m_ptReadout;        // where the left button went down

    QPointer<QWidget> m_pBar;       // dialog bar 168 (null without a frame)
    QSpinBox* m_pLowHz = nullptr;   // 1068
    QSpinBox* m_pTopKHz = nullptr;  // 1069
    QSpinBox* m_pUpperDb = nullptr; // 1082
    QSpinBox* m_pLowerDb = nullptr; // 1083
    QSpinBox* m_pDelay = nullptr;   // 1087
    QSpinBox* m_pPeakDist = nullptr;  // 1094
    QSpinBox* m_pNeighbour = nullptr; // 1096
    QLineEdit* m_pCurrentFft = nullptr; // 1076
};
