// The wave view: the lower pane of the main wave window.  Draws the stretch
// framed in the overview as a waveform, lets the user drag a selection (which
// becomes the document's analysis block) and set two markers by double click
// that delimit the stretch for the envelope editor.
#pragma once

#include "CanvasTypes.h"
#include "DocView.h"
#include "ViewExport.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>

class Canvas;
class CEnvelopeEditor;
class CHuellkurveDlg;
class CTonaroDoc;

class CTonaroView : public QWidget, public CDocView, public CExportableView {
public:
    CTonaroView(CTonaroDoc* pDoc, QWidget* pParent);
    ~CTonaroView() override;

    CTonaroDoc* GetDocument() const { return m_pDoc; }
    void OnUpdate(int nHint) override;
    // Clears the state: zooms 1, precision 100, display mode "Samples".
    void OnInitialUpdate();

    // Draws the whole client area (size of dc) and updates the visible range.
    void Draw(Canvas& dc);

    // Zoom window written by the overview, in its plot coordinates;
    // nOverviewPlotWidth is the overview's logical width minus 20.
    void SetZoomWindow(const CanvasRect& rcZoom, int nOverviewPlotWidth);
    const CanvasRect& ZoomWindow() const { return m_rcZoom; }
    // Dialog bar: horizontal zoom slider (stored only), lower vertical slider,
    // precision edit and display mode buttons.
    void SetHorizontalZoomPosition(int nPosition);
    void SetVerticalZoomPosition(int nPosition);
    void SetPrecision(int nPrecision);
    void SetDisplayMode(int nMode);
    int HorizontalZoom() const { return m_nHorzZoom; }
    int VerticalZoom() const { return m_nVertZoom; }
    int Precision() const { return m_nPrecision; }
    // Receives the text of the dialog bar's "Samples" field while dragging.
    void SetSamplesSink(std::function<void(const QString&)> fn) { m_fnSamples = std::move(fn); }

    // State after the last drawing.
    double FirstSample() const { return m_dFirst; }
    double LastSample() const { return m_dLast; }
    int Step() const { return m_nStep; }
    bool HasBand() const { return m_ptDrag.x != 0; }
    const CanvasRect& Band() const { return m_rcBand; }
    CanvasPoint Marker1() const { return m_ptMarker1; }
    CanvasPoint Marker2() const { return m_ptMarker2; }
    bool EnvelopeShown() const { return m_bEnvelopeShown; }

    // Amplitude offset in pixels of sample index i for a plot of height h (signed 16-bit).
    int SampleOffset(int nIndex, int nHeight) const;

    // Envelope editor ("Bearbeite\nEinhüllende").
    void OpenEnvelopeEditor();
    CEnvelopeEditor& Envelope() { return *m_pEnvelope; }
    CHuellkurveDlg* EnvelopeDialog() const;

    // CExportableView
    ViewExportInfo ExportInfo() const override;
    CanvasSize PictureSize() const override;
    void DrawPicture(Canvas& dc, bool bCopy) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // What the cached waveform layer was drawn for.
    struct WaveLayerKey {
        QSize m_size;
        CanvasRect m_rcZoom;
        int m_nOverviewPlotWidth = 0;
        int m_nVertZoom = 0;
        int m_nPrecision = 0;
        const void* m_pData = nullptr;
        int m_nRawSize = 0;
        int m_nBits = 0;
        bool m_bWave = false;
        bool operator==(const WaveLayerKey&) const = default;
    };

    // Visible range and step for a client width; clears band and markers when
    // the stretch moved or a reset was requested.  False: no waveform to draw.
    bool UpdateRange(int W);
    void DrawWaveform(Canvas& dc) const;
    // Band, markers and margins.
    void DrawOverlays(Canvas& dc);
    int ClampX(int x) const;
    void OnMarkerClick(CanvasPoint p);
    int SampleAtPixel(int x) const;

    CTonaroDoc* m_pDoc;
    CanvasRect m_rcZoom;           // framed stretch, overview plot coordinates
    int m_nOverviewPlotWidth = 0;  // pixels
    CanvasRect m_rcBand;           // selection band: left where the button went down, right where it came up
    CanvasPoint m_ptDrag;          // last mouse point while dragging; x = 0: no band
    bool m_bDragging = false;
    int m_nHorzZoom = 1;           // 1 .. 41, stored only
    int m_nVertZoom = 1;           // 1 .. 21
    bool m_bResetRequest = false;
    int m_nPrecision = 100;        // drawn points per pixel column
    CanvasRect m_rcPrevZoom;
    double m_dFirst = 0.0;         // first visible sample index
    double m_dLast = 0.0;          // last visible sample index
    int m_nRange = 0;              // samples in the visible stretch
    int m_nStep = 0;               // samples between drawn points
    CanvasPoint m_ptMarker1;       // x = 0: not set; marker 1 stays left of marker 2
    CanvasPoint m_ptMarker2;
    int m_nDisplayMode = 1;        // 1 "Samples", 0 "Einhüllende"; stored only
    bool m_bEnvelopeShown = false;
    std::function<void(const QString&)> m_fnSamples;
    std::unique_ptr<CEnvelopeEditor> m_pEnvelope;
    QImage m_imgWave;              // cached waveform layer of the screen
    WaveLayerKey m_waveKey;
};
