// The settings of the FFT window as the profile stores them: frequency and
// level limits, axis kinds, drawing mode, held maxima, fall-back, grid, peaks
// and curve.  Values read from a profile are brought into their ranges.
#pragma once

class CProfileSettings;

struct CFFTSettings {
    int m_nBottomCutHz = 20;         // lower frequency limit fmin, Hz, 1 .. 999
    int m_nTopCutkHz = 20;           // upper frequency limit, kHz, 1 .. 100
    int m_nBottomCutAmp = 0;         // level at the top of the plot, dBr, -99 .. 0
    int m_nTopCutAmp = -99;          // level at the bottom of the plot, dBr, -99 .. 0
    bool m_bIsAmpLinear = false;     // linear level axis (else decibels)
    bool m_bIsFreqLinear = false;    // linear frequency axis (else logarithmic)
    int m_nDarstellung = 0;          // 0 bars, 1 line, 2 steps
    bool m_bIsSumme = false;         // hold maxima
    bool m_bIsDelay = false;         // held values fall back
    int m_nDelay = 3;                // fall-back step, pixels per drawing, 0 .. 15
    bool m_bGrid = true;             // grid lines
    bool m_bIsCrossVisible = false;  // find and mark peaks
    int m_nMinAbstandMaxima = 10;    // least horizontal distance of two peaks, pixels, 0 .. 50
    int m_nMinAbstandNachbarMin = 5; // distance of the 20 % test, spectrum entries, 1 .. 50
    bool m_bIsSpline = false;        // curve through the peaks
    int m_nSplineTyp = 0;            // 1 Bézier, 2 cubic, 3 Beta, 0 none

    // Upper frequency limit in Hz.
    int TopCutHz() const { return 1000 * m_nTopCutkHz; }
    // Peaks are built while peak finding or a curve is on.
    bool PeaksWanted() const { return m_bIsCrossVisible || m_bIsSpline; }

    void Load(const CProfileSettings& profile);
    void Store(CProfileSettings& profile) const;
    // Brings every value into its range (a profile may hold 0 for a missing key).
    void Clamp();
};
