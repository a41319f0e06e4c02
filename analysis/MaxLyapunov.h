// The nonlinear analysis engine: data preparation (rescaling, delay vectors),
// three box-assisted neighbour searches and the runs of the maximal Lyapunov
// exponent, the Lyapunov spectrum and the correlation dimension.  One object
// per computation, made on the heap (its grids are part of it: about 1.4 MB).
// Runs on the caller's thread; errors go to the message handler and set g_bAbort.
#pragma once

#include "NonlinearTypes.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

class Canvas;

// Neighbours of one reference point in the pair grid: the index of each and the
// largest embedding dimension (2 ..) in which it lies within the size.
struct PairNeighbourList {
    std::vector<std::int32_t> m_aIndex;
    std::vector<std::uint32_t> m_aDepth;
    std::size_t m_nCount = 0;
};

class MaxLyapunov {
public:
    // Receives each error text (UTF-8); the default shows it in a message box.
    using MessageHandler = std::function<void(const std::string&)>;
    // Called every 50 reference points: the GUI processes pending events there (so
    // that Esc and "Abbruch" can set g_bAbort) and restores the wait cursor.
    using ProgressHandler = std::function<void()>;
    // Called after each drawing into the canvas, so the window can repaint.
    using PlotHandler = std::function<void()>;

    static constexpr std::uint32_t kMaxGridMask = 127;   // 128 x 128 cells
    static constexpr std::uint32_t kSpecGridMask = 511;  // 512 x 512 cells
    static constexpr std::uint32_t kCorrGridMask = 255;  // 256 x 256 and 256 cells

    MaxLyapunov();
    MaxLyapunov(const MaxLyapunov&) = delete;
    MaxLyapunov& operator=(const MaxLyapunov&) = delete;

    // The engine on the heap, or null (with the allocation message) when memory is short.
    static std::unique_ptr<MaxLyapunov> Create(const MessageHandler& onMessage = {});

    void SetMessageHandler(MessageHandler handler) { m_fnMessage = std::move(handler); }
    void SetProgressHandler(ProgressHandler handler) { m_fnProgress = std::move(handler); }
    void SetPlotHandler(PlotHandler handler) { m_fnPlot = std::move(handler); }

    // Set-up, one per computation: mode 0 (spectrum), 1 (maximal exponent), 2 (correlation dimension).
    void SetUp(const SpectrumParams& params);
    void SetUp(const MaxExponentParams& params);
    void SetUp(const CorrDimParams& params);
    int Mode() const { return m_nMode; }

    // Reports a failed allocation (null p); returns whether p is usable.
    bool check_alloc(const void* p);
    // Rescales x in place to 0 .. 1; false (message, g_bAbort) when all values are equal.
    bool rescale_data(std::span<double> x, double& dMin, double& dRange);
    // Mean and standard deviation; false (message, g_bAbort) when the deviation is 0.
    bool variance(std::span<const double> x, double& dMean, double& dStdDev);

    // The runs.  Each rescales the data in place, draws its plot into pCanvas
    // (may be null) while it proceeds and returns what it computed.
    MaxExponentResult RunMaxExponent(Canvas* pCanvas, std::span<double> data);
    SpectrumResult RunSpectrum(Canvas* pCanvas, std::span<double> series);
    CorrDimResult RunCorrelationDimension(Canvas* pCanvas, std::span<double> series);

    // --- building blocks of the runs, open for tests and benchmarks ---

    // Pair grid: points 0 .. nPoints-1 by (x(i), x(i + d)) in cells of size e.
    void BuildPairGrid(std::span<const double> x, std::uint32_t nPoints, std::uint32_t nDelay, double e);
    // Points b of the pair grid with |b - a| > nWindow within e of a in dimensions 2 .. nMaxDim.
    void FindPairNeighbours(std::span<const double> x, std::uint32_t a, std::uint32_t nMaxDim,
                            std::uint32_t nDelay, std::uint32_t nWindow, double e, PairNeighbourList& out) const;

    // Vector grid: times nFirst .. nEnd-1 by their backward delay vectors in cells of size e.
    void BuildVectorGrid(std::span<const double> x, std::uint32_t nFirst, std::uint32_t nEnd, double e);
    // Times b of the vector grid whose delay vectors (m lags, delay d) lie within e of a's
    // (maximum norm), a itself included; the result is in `found`.
    void FindVectorNeighbours(std::span<const double> x, std::uint32_t a, std::uint32_t nEmbedDim,
                              std::uint32_t nDelay, double e, std::vector<std::int32_t>& found) const;
    // Sorts found by distance from a (a itself counts 2.0) far enough to place the
    // q nearest first and returns the distance of the q-th (q >= 1, q <= found.size()).
    double NearestNeighbourRadius(std::span<const double> x, std::uint32_t a, std::uint32_t nEmbedDim,
                                  std::uint32_t nDelay, std::vector<std::int32_t>& found,
                                  std::uint32_t q) const;

    // Gaussian elimination with partial pivoting of the n x n row-major matrix a, in place;
    // the solution replaces v.  False (message, g_bAbort) for a zero pivot.
    bool SolveLinear(std::span<double> a, std::span<double> v, std::size_t n);
    // Inverse of the n x n row-major matrix a into inv; false after a singular column.
    bool InvertMatrix(std::span<const double> a, std::span<double> inv, std::size_t n);
    // Gram-Schmidt of the D x D tangent vectors (row i = vector i); stretch factors into s.
    static void Orthonormalise(std::span<double> vectors, std::span<double> s, std::size_t nDim);
    // Kaplan-Yorke dimension of exponent sums in their order.
    static double KaplanYorke(std::span<const double> sums);
    // Fixed pseudo-random permutation of 0 .. n-1 (the scrambled order of reference points).
    static std::vector<std::int32_t> ScrambleReferences(std::uint32_t n);

    // Pair counts c[j][k] (row j = embedding dimension j + 1) and normalisation n[k] of the
    // last correlation run; kept until the next run.
    const std::vector<double>& CorrPairCounts() const { return m_aCorrCounts; }
    const std::vector<double>& CorrNormalisation() const { return m_aCorrNorm; }
    std::uint32_t CorrFirstOpenRadius() const { return static_cast<std::uint32_t>(m_corr.nFirstOpen); }

    // Last vertical scale of the spectrum plot (0 after set-up) and the Kaplan-Yorke dimension.
    double LastPlotScale() const { return m_dLastPlotScale; }
    double KaplanYorkeDimension() const { return m_dKaplanYorke; }

private:
    struct SpectrumBlock {
        std::uint32_t nEmbedDim = 3;
        std::uint32_t nDelay = 2;
        std::uint32_t nNeighbours = 30;
        std::uint32_t nIterations = 1000;
        std::uint32_t nComponents = 1;
        double dGrowth = 1.2;          // radius factor per enlargement
        double dRadius = 0.001;        // current search radius (fraction of the range)
        double dRadiusSum = 0.0;
        double dNeighbourSum = 0.0;
        std::uint32_t nPointsDone = 0;
    };
    struct MaxExpBlock {
        std::uint32_t nIterations = 50;
        std::uint32_t nMaxDim = 2;
        std::uint32_t nMinDim = 2;
        std::uint32_t nDelay = 1;
        std::uint32_t nSizes = 5;
        std::uint32_t nWindow = 0;     // temporal window, samples
        double dMinSize = 0.001;
        double dMaxSize = 0.01;
        std::uint32_t nReferences = kAllReferencePoints;
    };
    struct CorrBlock {
        std::uint32_t nMaxDim = 10;
        std::uint32_t nRadii = 100;
        std::uint32_t nDelay = 1;
        double dMinRadius = 0.001;
        double dMaxRadius = 1.0;
        std::uint32_t nPairTarget = 1000;
        std::int32_t nExclusion = 90;  // samples; pairs this close in time are not counted
        std::int32_t nFirstOpen = 0;   // k_min
        double dLargest = 1.0;         // current largest radius
        double dInvLargest = 1.0;      // r = 1 / current largest radius
        double dLogLargest = 0.0;      // lambda, ln of the first largest radius
        double dLogFactor = 0.0;       // phi, ln of the radius factor
    };

    // Reports text (message handler) and sets g_bAbort.
    void Report(const std::string& text);
    // Progress and cancel step; true when the run must stop.
    bool ProgressStep();
    void NotifyPlot();
    // Resizes v to n elements of value init; reports through check_alloc on failure.
    template <class T>
    bool Allocate(std::vector<T>& v, std::size_t n, T init);

    // Maximal exponent.
    void AccumulateStretch(std::span<const double> x, std::uint32_t a, const PairNeighbourList& nbrs);

    // Spectrum.
    bool FitLocalDynamics(std::span<const double> x, std::uint32_t a, std::uint32_t nLength);
    void MapTangentVectors();

    // Correlation dimension.
    void InsertCorrPoint(std::int32_t i);
    void RebuildCorrGrids(std::uint32_t nInserted);
    void CountPairsFirstDim(std::uint32_t n);
    void CountPairsAllDims(std::uint32_t n);
    void StoreCorrOutput(CorrDimResult& result);

    int m_nMode = -1;
    MessageHandler m_fnMessage;
    ProgressHandler m_fnProgress;
    PlotHandler m_fnPlot;

    SpectrumBlock m_spec;
    MaxExpBlock m_max;
    CorrBlock m_corr;
    double m_dLastPlotScale = 0.0;
    double m_dKaplanYorke = 0.0;

    // Series of the current run (rescaled in place) and its length.
    std::span<double> m_aSeries;

    // Pair grid (maximal exponent).
    std::array<std::int32_t, (kMaxGridMask + 1) * (kMaxGridMask + 1)> m_aMaxGrid{};
    std::vector<std::int32_t> m_aMaxChain;
    std::vector<double> m_aStretch;       // (m2 - 1) x (I + 1) sums of ln distance
    std::vector<std::int32_t> m_aCount;   // (m2 - 1) x (I + 1) contributions
    std::vector<double> m_aRefSum;        // per reference point
    std::vector<std::int32_t> m_aRefCount;

    // Vector grid (spectrum).
    std::array<std::int32_t, (kSpecGridMask + 1) * (kSpecGridMask + 1)> m_aSpecGrid{};
    std::vector<std::int32_t> m_aSpecUsedCells; // cells whose head is set, reset on rebuild
    std::vector<std::int32_t> m_aSpecChain;
    std::vector<std::int32_t> m_aFound;
    std::vector<double> m_aModel;         // components x D
    std::vector<double> m_aTangent;       // D x D, row i = tangent vector i
    std::vector<double> m_aStretchFactors;
    std::vector<double> m_aExpSums;
    std::vector<double> m_aNormal;        // (D + 1) x (D + 1) scratch
    std::vector<double> m_aNormalInv;
    std::vector<double> m_aSolveA;
    std::vector<double> m_aSolveV;

    // Correlation grids.
    std::array<std::int32_t, kCorrGridMask + 1> m_aCorrGrid1{};
    std::array<std::int32_t, (kCorrGridMask + 1) * (kCorrGridMask + 1)> m_aCorrGrid2{};
    std::vector<std::int32_t> m_aCorrChain1;
    std::vector<std::int32_t> m_aCorrChain2;
    std::vector<std::int32_t> m_aOrder;     // scrambled order of reference points
    std::vector<std::int32_t> m_aOrderInv;  // position of each index in the order
    std::vector<double> m_aCorrCounts;      // M x K
    std::vector<double> m_aCorrNorm;        // K
    std::vector<double> m_aRadii;           // K
    std::chrono::steady_clock::time_point m_tLastOutput;
};
