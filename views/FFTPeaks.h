// Peaks of the FFT plot and the curve through them: the peak list built from
// the spectrum at every drawing (rise/plateau/fall walk, 20 % neighbour test,
// -80 dB floor, thinning by pixel distance), the user's own additions and
// deletions, the green crosses and the Bézier, cubic and Beta curves.
#pragma once

#include "CanvasTypes.h"

#include <vector>

class Canvas;
class CFFTMapping;
struct CFFTSettings;

// One edit of the user: a deletion of the list entry at m_nPos, or a point to insert.
struct FFTPeakEdit {
    bool m_bDelete = false;
    int m_nPos = 0;          // deletion: position in the freshly built list
    CanvasPoint m_pt;        // insertion: pixel point
    bool operator==(const FFTPeakEdit&) const = default;
};

class CFFTPeaks {
public:
    // Builds the list for spectrum S (n entries) of an N-point FFT; nSkipped: the
    // low entries skipped by the plot.  Applies the edit list and appends the end point.
    void Build(const std::vector<double>& aSpectrum, long long nFft, int nSkipped, const CFFTMapping& map,
               const CFFTSettings& settings);
    // Crosses (peak finding on) and the curve (curve on); the Bézier and Beta
    // curves change the list as they prepare it.
    void Draw(Canvas& dc, const CFFTMapping& map, const CFFTSettings& settings, ColourRef clrCurve);

    // Right click at p: deletes the first peak closer than 5 pixels, else inserts p.
    void RightClick(CanvasPoint p);

    void ClearList() { m_aList.clear(); }
    void ClearEdits() { m_aEdits.clear(); }
    const std::vector<CanvasPoint>& List() const { return m_aList; }
    const std::vector<FFTPeakEdit>& Edits() const { return m_aEdits; }
    const std::vector<CanvasPoint>& CubicPoints() const { return m_aCubic; }

private:
    std::vector<CanvasPoint> m_aList;    // peak list, pixels; rebuilt at every drawing
    std::vector<FFTPeakEdit> m_aEdits;   // the user's edits in the order made
    std::vector<CanvasPoint> m_aCubic;   // points of the cubic spline through the list
    int m_nPrefix = 0;                   // points put in front of the built list for the Beta curve
    int m_nBuilt = 0;                    // entries of the list before the end point was appended
};
