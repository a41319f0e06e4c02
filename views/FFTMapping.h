// Pixel geometry of the FFT plot: frequency to x on a linear or logarithmic
// axis between fmin and fmax, spectrum values to y on a linear or decibel axis
// between the two level limits, and the inverse mappings of the read-out.
#pragma once

struct CFFTSettings;

class CFFTMapping {
public:
    // nWidth, nHeight: client size in pixels; nBits: bits per sample (level
    // reference 2^bits); nSampleRate: Hz.
    CFFTMapping(const CFFTSettings& settings, int nWidth, int nHeight, int nBits, int nSampleRate);

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    int Bottom() const { return m_nHeight - 20; }     // y of the frequency axis
    int PlotHeight() const { return m_nHeight - 45; } // Ph
    double Reference() const { return m_dRef; }       // F = 2^bits
    double UpperAmplitude() const { return m_dAmpHi; }
    double LowerAmplitude() const { return m_dAmpLo; }
    double LowerFrequency() const { return m_dFmin; }
    double UpperFrequency() const { return m_dFmax; }
    int SampleRate() const { return m_nSampleRate; }

    // Relative position r(f): 0 at fmin, 1 at fmax.
    double Ratio(double dHz) const;
    // x(f) = trunc(r(f) (W - 20) + 20), kept inside a safe integer range.
    int X(double dHz) const;
    // y of a spectrum value s (plotted as s + 1), at most the axis.
    int Y(double dValue) const;
    // y of an amplitude v itself (the level axis' marks), at most the axis.
    int YOfAmplitude(double dAmplitude) const;
    // Frequency under column x (Hz).
    double FrequencyAt(int x) const;
    // Amplitude under row y (units of the spectrum); may be 0 or below on a linear axis.
    double AmplitudeAt(int y) const;

    // Frequency of spectrum entry k of an N-point FFT: trunc(k rate / N) Hz.
    static int EntryHz(long long k, int nRate, long long nFft);

private:
    double G(double dHz) const;

    int m_nWidth;
    int m_nHeight;
    int m_nSampleRate;
    bool m_bFreqLinear;
    bool m_bAmpLinear;
    double m_dFmin;    // Hz
    double m_dFmax;    // Hz
    double m_dGmin;    // g(fmin), below 1
    double m_dRef;     // F
    double m_dAmpHi;   // A_hi, spectrum units
    double m_dAmpLo;   // A_lo, spectrum units
};
