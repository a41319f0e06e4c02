// Real FFT of one power-of-two length N in double precision, in the packed layout every
// spectrum of the program relies on: f[k] = Re X_k for k = 0 .. N/2 and f[N/2 + k] = -Im X_k
// for k = 1 .. N/2-1.  Forward is unscaled, inverse returns N times the signal, rescale divides by N.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

class RealFft {
public:
    // nLength must be a power of two (IsPowerOfTwo).  An engine made for any other length is
    // not valid: it builds no tables and its transforms only write zeros.
    explicit RealFft(int nLength);
    ~RealFft();
    RealFft(const RealFft&) = delete;
    RealFft& operator=(const RealFft&) = delete;

    // f = packed transform of x (N values each; x is only read; f and x must not overlap).
    void forward(double* f, const double* x);
    // x = N times the inverse transform of the packed f (f is only read; no overlap).
    void inverse(const double* f, double* x);
    // a[i] /= N for the N values of a.
    void rescale(double* a) const;

    int Length() const { return m_nLength; }
    int BitCount() const { return m_nBitCount; }
    bool IsValid() const { return m_bValid; }
    // Entry i holds i with its B low bits reversed (2^B entries).
    const std::vector<int>& BitReversalTable() const { return m_aBitReversal; }
    // Butterfly cosines, one segment per pass level; null and size 0 when B < 4.
    const double* CosineTable() const { return m_pCosine.get(); }
    size_t CosineTableSize() const { return m_nCosineSize; }

    // True for 1, 2, 4, 8, ...; false for 0, negative values and everything else.
    static bool IsPowerOfTwo(long long n);

private:
    void BuildBitReversalTable();
    void BuildCosineTable();
    void ForwardPasses(double* f, const double* x);
    void InversePasses(const double* f, double* x);

    // Members in this order so that destruction frees the work buffer, then the cosine
    // table, then the bit-reversal table.
    std::vector<int> m_aBitReversal;        // 2^B entries
    std::unique_ptr<double[]> m_pCosine;    // 2^(B-1) - 4 entries when B >= 4
    size_t m_nCosineSize = 0;               // entries in m_pCosine
    double m_dHalfRootTwo = 0.0;            // sqrt(2) / 2
    int m_nLength = 0;                      // N, samples
    int m_nBitCount = 0;                    // B = log2(N), 0 .. 30
    bool m_bValid = false;                  // N is a power of two
    std::unique_ptr<double[]> m_pWork;      // N doubles of scratch when B > 2
};
