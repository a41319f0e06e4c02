// The envelope editor's work, owned by the wave view: extracts the upper and
// lower envelope of the stretch between the markers, accumulates it over
// several stretches, thins it into support points that the user edits with
// the mouse, draws a Beta-spline through them and saves or copies the picture.
// CHuellkurveDlg only shows the picture and forwards buttons and clicks here.
#pragma once

#include "CanvasTypes.h"
#include "ViewExport.h"

#include <QByteArray>
#include <QImage>
#include <QPointer>
#include <QString>

#include <vector>

class Canvas;
class CHuellkurveDlg;
class CTonaroView;

class CEnvelopeEditor : public CExportableView {
public:
    // A change of the support points since the last "Zeichne Hüllkurve".
    struct Edit {
        bool m_bRemove = false;
        CanvasPoint m_pt;   // point to add (view pixels)
        int m_nIndex = 0;   // removal: index in the support list as last drawn
    };

    explicit CEnvelopeEditor(CTonaroView& view);
    ~CEnvelopeEditor() override;

    // Extraction between the marker x positions m1 < m2, merge, picture
    // without curve, dialog shown.  False when nothing was done (message
    // shown for a missing marker).
    bool Open(int m1, int m2);
    // Upper and lower points of the samples a .. b (wave-view pixels).
    void ComputeEnvelope(int a, int b);
    // Draws the picture of points into an enhanced metafile (on disk when
    // pFile is given) and shows it in the dialog; returns the metafile.
    QByteArray RenderEnvelope(const std::vector<CanvasPoint>& points, const QString* pFile, bool bCurve);
    // Moves outline points towards crowded sides and drops near duplicates.
    void OptimizePoints();

    // Dialog actions.
    void OnOptimize();
    void OnDrawCurve();
    void OnClearAndClose();
    bool OnSave();
    bool OnCopy();
    // Click at q (wave-view pixels) in the picture.
    void OnLeftClick(CanvasPoint q);
    void OnRightClick(CanvasPoint q);
    // Index of the first support point (as last drawn) within 10 pixels of q, or -1.
    int HitTest(CanvasPoint q) const;

    const std::vector<CanvasPoint>& UpperPoints() const { return m_aUpper; }
    const std::vector<CanvasPoint>& LowerPoints() const { return m_aLower; }
    const std::vector<CanvasPoint>& StoredUpper() const { return m_aStoredUpper; }
    const std::vector<CanvasPoint>& StoredLower() const { return m_aStoredLower; }
    const std::vector<CanvasPoint>& Outline() const { return m_aOutline; }
    const std::vector<CanvasPoint>& SupportPoints() const { return m_aSupport; }
    const std::vector<Edit>& Edits() const { return m_aEdits; }
    const QImage& Picture() const { return m_imgPicture; }
    // Size of the wave view the picture is drawn for (W x H).
    CanvasSize ViewSize() const;

    CHuellkurveDlg* Dialog() const { return m_pDialog; }

    // CExportableView: the envelope picture.
    ViewExportInfo ExportInfo() const override;
    CanvasSize PictureSize() const override { return ViewSize(); }
    void DrawPicture(Canvas& dc, bool bCopy) override;

private:
    void Draw(Canvas& dc, const std::vector<CanvasPoint>& points, bool bCurve);
    void BuildSupport(const std::vector<CanvasPoint>& points);
    void ShowDialog();
    bool ScaleAndMerge(int m1);

    CTonaroView& m_view;
    std::vector<CanvasPoint> m_aUpper, m_aLower;              // last extraction
    std::vector<CanvasPoint> m_aStoredUpper, m_aStoredLower;  // accumulated, scaled to the view
    std::vector<CanvasPoint> m_aOutline;                      // closed loop, clockwise
    std::vector<Edit> m_aEdits;
    std::vector<CanvasPoint> m_aSupport;                      // as last drawn, end points repeated
    bool m_bCurve = false;                                    // the last picture had a curve
    QImage m_imgPicture;
    QPointer<CHuellkurveDlg> m_pDialog;
};
