// Parameters and results of the three nonlinear analyses (Lyapunov spectrum,
// maximal Lyapunov exponent, correlation dimension).  The engine fills the
// results; the analysis window keeps them and draws them again on repaint.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

// "Every possible point" for the number of reference points.
inline constexpr std::uint32_t kAllReferencePoints = 0xFFFFFFFFu;

// Lyapunov spectrum: one local linear model per reference time.
struct SpectrumParams {
    std::uint32_t m_nEmbedDim = 3;       // m, delay coordinates per vector (1 ..)
    std::uint32_t m_nDelay = 2;          // d, samples (1 ..)
    std::uint32_t m_nNeighbours = 30;    // q, neighbours of the local fit (0 means 30)
    std::uint32_t m_nIterations = 1000;  // T, last reference time + 1 (bounded by the data)
    double m_dRadius = 0.001;            // kept for the settings; every run starts from 0.001
};

// Maximal Lyapunov exponent: growth of neighbour distances over time.
struct MaxExponentParams {
    std::uint32_t m_nIterations = 50;    // I, steps followed
    std::uint32_t m_nMaxDim = 2;         // m2, largest embedding dimension (2 ..)
    std::uint32_t m_nMinDim = 2;         // m1, smallest embedding dimension (2 ..)
    std::uint32_t m_nDelay = 1;          // d, samples
    std::uint32_t m_nSizes = 5;          // E, neighbourhood sizes on a logarithmic scale
    double m_dMinSize = 0.001;           // e_min, fraction of the data range (> 0)
    double m_dMaxSize = 0.01;            // e_max, fraction of the data range
    std::uint32_t m_nReferences = kAllReferencePoints; // R, reference points
};

// Correlation dimension: correlation sums over radii and embedding dimensions.
struct CorrDimParams {
    std::uint32_t m_nMaxDim = 10;        // M, largest embedding dimension (1 ..)
    std::uint32_t m_nRadii = 100;        // K, radii on a logarithmic scale (2 ..)
    std::uint32_t m_nDelay = 1;          // d, samples
    double m_dMinRadius = 0.001;         // fraction of the data range
    double m_dMaxRadius = 1.0;           // fraction of the data range, at most 1
    std::uint32_t m_nPairTarget = 1000;  // P, pairs that close a radius
};

// Stretch factors S(n) of the maximal exponent.  Row j belongs to embedding
// dimension j + 2 and holds (E + 1) x (I + 1) values; size l, step n is at
// (I + 1) x l + n.  Positions that received no value hold NaN: test them with
// HasValue before use.
struct MaxExponentResult {
    std::vector<std::vector<double>> m_aRows;
    std::uint32_t m_nSizes = 0;      // E after the corrections
    std::uint32_t m_nIterations = 0; // I
    std::uint32_t m_nMinDim = 2;     // m1 after the corrections
    std::uint32_t m_nMaxDim = 2;     // m2 after the corrections
    std::uint32_t m_nSizesDone = 0;  // sizes completed (0 .. E)

    bool Empty() const { return m_aRows.empty(); }
    bool HasValue(std::uint32_t nDim, std::uint32_t nSize, std::uint32_t nStep) const
    {
        return !std::isnan(Value(nDim, nSize, nStep));
    }
    // S(n) of dimension nDim (m1 .. m2), size nSize (0 .. E-1), step nStep (0 .. I); NaN when none.
    double Value(std::uint32_t nDim, std::uint32_t nSize, std::uint32_t nStep) const
    {
        if (nDim < 2 || nDim - 2 >= m_aRows.size() || nSize >= m_nSizes || nStep > m_nIterations)
            return std::numeric_limits<double>::quiet_NaN();
        return m_aRows[nDim - 2][static_cast<std::size_t>(m_nIterations + 1) * nSize + nStep];
    }
};

// Running averages of the Lyapunov exponents.  Row t holds the D exponents
// (per sample step) averaged over the first t + 1 reference points.
struct SpectrumResult {
    std::vector<std::vector<double>> m_aRows; // only rows 0 .. m_nRowsDone-1 hold values
    std::uint32_t m_nRowsDone = 0;
    std::uint32_t m_nPlanned = 0;          // T' = min(T, L - d), the x range of the plot
    std::uint32_t m_nDimension = 0;        // D
    bool m_bFinished = false;              // the loop ran to its end (not cancelled, no error)
    double m_dKaplanYorke = 0.0;           // valid when m_bFinished
    double m_dAverageRadius = 0.0;         // mean neighbourhood radius, units of the data before rescaling
    double m_dAverageNeighbours = 0.0;     // mean number of neighbours used per reference point

    bool Empty() const { return m_nRowsDone == 0; }
};

// One point of a local-slope curve of the correlation dimension.
struct CorrDimEntry {
    double m_dRadius = 0.0; // fraction of the data range
    double m_dSlope = 0.0;  // local slope d ln C / d ln radius
};

// Local slopes of the correlation sums: M rows (embedding dimension j + 1),
// each of K - 1 entries (radius, slope), smoothed.  Empty when the run made no output.
struct CorrDimResult {
    std::vector<std::vector<CorrDimEntry>> m_aRows;
    std::uint32_t m_nMaxDim = 0; // M
    std::uint32_t m_nRadii = 0;  // K

    bool Empty() const { return m_aRows.empty(); }
};
