// The FFT window's picture and state without the widget: settings, plot and
// held points, peaks, and the drawing of spectrum, piano band and axes into
// any Canvas (screen image, saved metafile, clipboard copy).  Also the
// read-out, the tone frequency and the data copy text, and the effects of the
// dialog bar's controls on the settings.
#pragma once

#include "CanvasTypes.h"
#include "FFTPeaks.h"
#include "FFTSettings.h"

#include <QString>

#include <vector>

class Canvas;
class CFFTMapping;
class CTonaroDoc;

// Colours of one kind of picture.
struct FFTColours {
    ColourRef m_clrBack;    // background
    ColourRef m_clrFore;    // axes and text
    ColourRef m_clrCurve;   // curve through the peaks
};
inline constexpr FFTColours kFFTScreenColours{kBlack, kWhite, MakeColour(255, 255, 0)};
inline constexpr FFTColours kFFTCopyColours{kWhite, kBlack, MakeColour(0, 255, 0)};

class CFFTPlot {
public:
    CFFTSettings& Settings() { return m_settings; }
    const CFFTSettings& Settings() const { return m_settings; }

    // The whole picture at the canvas' size in the given colours.
    void Draw(Canvas& dc, const CTonaroDoc& doc, const FFTColours& colours = kFFTScreenColours);
    // The clipboard picture: white background, black axes, green curve, and the
    // captions "Frequenz" below and "Amplitude" left of the plot.
    void DrawCopy(Canvas& dc, const CTonaroDoc& doc);
    // Cross and frequency/level texts of a left click at p (nothing without a sample rate).
    void DrawReadout(Canvas& dc, CanvasPoint p, const CTonaroDoc& doc) const;
    // Frequency (Hz, truncated) of the tone played for column x at the canvas size.
    int ToneHz(int x, CanvasSize size, const CTonaroDoc& doc) const;
    // "Frequenz[Hz]\tAmplitude[dB]\r\n" and one line per spectrum entry.
    static QString DataText(const CTonaroDoc& doc);
    // Read-out number: 5 significant digits, cut one character after the point.
    static QString ReadoutNumber(double dValue);

    // --- dialog bar: each changes the settings as its control demands ---
    void SetUpperLevel(int nDbr);      // may push the lower limit down
    void SetLowerLevel(int nDbr);      // may push the upper limit up
    void SetAmpLinear(bool bLinear);   // upper limit -15 dBr (linear) or 0 dBr
    void SetFreqLinear(bool bLinear) { m_settings.m_bIsFreqLinear = bLinear; }
    void SetLowerFrequency(int nHz);
    void SetUpperFrequency(int nKHz);
    void SetMode(int nMode) { m_settings.m_nDarstellung = nMode; }
    void SetHoldMaxima(bool bOn);
    void SetGrid(bool bOn) { m_settings.m_bGrid = bOn; }
    void SetDelayStep(int nPixels) { m_settings.m_nDelay = nPixels; }
    void SetDelay(bool bOn);           // on: peak finding off
    void SetPeakFinding(bool bOn);     // on: delay off
    void SetPeakDistance(int nPixels);
    void SetNeighbourDistance(int nEntries);
    // A click on curve box nKind (1 Bézier, 2 cubic, 3 Beta) leaving it bChecked.
    void SetCurve(int nKind, bool bChecked);

    // --- events ---
    void OnSizeChanged();
    void DeleteCaptures();
    void OnLeftButtonDown() { m_peaks.ClearList(); }
    // Right click at p; true when it was taken (peak finding or a curve on).
    bool OnRightButtonDown(CanvasPoint p);

    const std::vector<CanvasPoint>& PlotPoints() const { return m_aPlot; }
    const std::vector<CanvasPoint>& HeldPoints() const { return m_aHeld; }
    const CFFTPeaks& Peaks() const { return m_peaks; }
    int SkippedEntries() const { return m_nSkipped; }

private:
    void BuildPlotPoints(const std::vector<double>& S, long long nFft, const CFFTMapping& map);
    void ApplyDelay();
    void DrawPoints(Canvas& dc, const CFFTMapping& map, const CTonaroDoc& doc) const;
    void DrawPianoBand(Canvas& dc, const CFFTMapping& map) const;
    void DrawFrequencyAxis(Canvas& dc, const CFFTMapping& map, const FFTColours& colours) const;
    void DrawLevelAxis(Canvas& dc, const CFFTMapping& map, const FFTColours& colours) const;

    CFFTSettings m_settings;
    std::vector<CanvasPoint> m_aPlot;   // one point per plot column with spectrum entries
    std::vector<CanvasPoint> m_aHeld;   // plot points of the previous drawing
    CFFTPeaks m_peaks;
    long long m_nLastLength = 0;        // spectrum length at the previous drawing
    int m_nSkipped = 0;                 // entries at or below fmin in the last drawing
};
