// The overview: the upper pane of the main wave window.  Shows the whole
// sound as a waveform under a time scale, lets the user frame a stretch (the
// wave view's zoom window and the document's markers), shows the play
// position as a caret and, while listening, the incoming signal as a trace.
#pragma once

#include "CanvasTypes.h"
#include "DocView.h"

#include <QAbstractScrollArea>
#include <QImage>

#include <functional>
#include <vector>

class Canvas;
class CTonaroDoc;
class CTonaroView;

class CTonaroOverView : public QAbstractScrollArea, public CDocView {
public:
    CTonaroOverView(CTonaroDoc* pDoc, QWidget* pParent);
    ~CTonaroOverView() override;

    CTonaroDoc* GetDocument() const { return m_pDoc; }
    void OnUpdate(int nHint) override;
    // Band, trace and zooms reset.
    void OnInitialUpdate();

    // Draws the visible part (client size = size of dc) at the current scroll position.
    void Draw(Canvas& dc);

    // The wave view that receives the framed stretch (not owned).
    void SetWaveView(CTonaroView* pView) { m_pWaveView = pView; }
    // Answers whether the school profile is on (a framed stretch then selects at once).
    void SetSchoolProfileQuery(std::function<bool()> fn) { m_fnSchool = std::move(fn); }
    // Receives the text of the dialog bar's "Samples" field.
    void SetSamplesSink(std::function<void(const QString&)> fn) { m_fnSamples = std::move(fn); }

    // Dialog bar sliders 1046 (horizontal zoom) and 1047 (amplitude zoom).
    void SetHorizontalZoomPosition(int nPosition);
    void SetVerticalZoomPosition(int nPosition);
    int HorizontalZoom() const { return m_nHorzZoom; }
    int VerticalZoom() const { return m_nVertZoom; }

    // Width of the scrolled area (horizontal zoom x client width) and the plot within it.
    int LogicalWidth() const;
    int PlotWidth() const { return LogicalWidth() - 20; }
    int ScrollX() const;
    int ClientWidth() const;
    int ClientHeight() const;

    int BandLeft() const { return m_nBandLeft; }
    int BandRight() const { return m_nBandRight; }
    int CaretX() const { return m_nCaretX; }
    bool CaretShown() const { return m_bCaretShown; }
    const std::vector<CanvasPoint>& Trace() const { return m_aTrace; }

    // Live trace: appends the document's current capture block.
    void AppendTraceBlock();
    // Play position: follows the document's m_nPlayPos (page-wise scrolling).
    void FollowPlayPosition();
    // Band reset: band, wave view zoom window and markers cleared.
    void ResetBand();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // What the cached signal layer was drawn for.
    struct SignalLayerKey {
        QSize m_size;
        int m_nHorzZoom = 0;
        int m_nVertZoom = 0;
        int m_nScrollX = 0;
        const void* m_pData = nullptr;
        int m_nRawSize = 0;
        int m_nBits = 0;
        bool operator==(const SignalLayerKey&) const = default;
    };

    // Scroll position clamped for a client width W.
    int ScrollFor(int W) const;
    // Live trace while listening, otherwise the waveform.
    void DrawSignal(Canvas& dc);
    // Band, frame strips and time scale.
    void DrawOverlays(Canvas& dc);
    void UpdateScrollRange();
    int ClampX(int x) const;
    void DrawWaveform(Canvas& dc, int W, int H, int sx);

    CTonaroDoc* m_pDoc;
    CTonaroView* m_pWaveView = nullptr;
    std::function<bool()> m_fnSchool;
    std::function<void(const QString&)> m_fnSamples;
    int m_nHorzZoom = 1;              // 1 .. 41
    int m_nVertZoom = 1;              // 1 .. 81
    int m_nBandLeft = 0;              // logical x
    int m_nBandRight = 0;             // logical x; 0: no band
    CanvasPoint m_ptStart;            // band start in plot coordinates
    CanvasPoint m_ptEnd;              // band end in plot coordinates
    bool m_bDragging = false;
    int m_nCaretX = 10;               // client x of the play-position caret
    bool m_bCaretShown = false;
    std::vector<CanvasPoint> m_aTrace; // live trace, client pixels
    int m_nTraceNextX = 10;           // x where the next block continues
    QImage m_imgSignal;               // cached signal layer of the screen
    SignalLayerKey m_signalKey;
};
