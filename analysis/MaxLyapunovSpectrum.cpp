// The Lyapunov spectrum: at every reference time a local linear model of the
// dynamics is fitted to the nearest neighbours, applied to a set of tangent
// vectors, and Gram-Schmidt gives the stretch factors whose mean logarithms are
// the exponents.  Ends with the Kaplan-Yorke dimension.
#include "MaxLyapunov.h"

#include "Canvas.h"
#include "EngineHelpers.h"
#include "LyapunovRandom.h"
#include "NonlinearPlots.h"
#include "ProgramFlags.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

SpectrumResult MaxLyapunov::RunSpectrum(Canvas* pCanvas, std::span<double> series)
{
    SpectrumResult result;
    m_aSeries = series;
    const auto nLength = static_cast<std::int64_t>(series.size());
    const std::uint32_t m = m_spec.nEmbedDim;
    const std::uint32_t d = m_spec.nDelay;
    const std::uint32_t q = m_spec.nNeighbours;
    const std::size_t nDim = static_cast<std::size_t>(m) * m_spec.nComponents;
    // Only the L - m d vectors that have a successor can be neighbours; fewer than
    // q + 1 of them can never give more than q (this bound also covers q > L - (m - 1) d - 1).
    const std::uint64_t nSpan = static_cast<std::uint64_t>(m) * d;
    if (nLength > std::numeric_limits<std::int32_t>::max() || nSpan >= static_cast<std::uint64_t>(nLength)
        || static_cast<std::int64_t>(q) > nLength - static_cast<std::int64_t>(nSpan) - 1) {
        Report("Your time series is not long enough to find 20 neighbors!\n");
        return result;
    }

    double dMin = 0.0;
    double dRange = 0.0;
    double dMean = 0.0;
    double dStdDev = 0.0;
    if (!rescale_data(series, dMin, dRange) || !variance(series, dMean, dStdDev))
        return result;
    const double dDataRange = std::max(0.0, dRange);

    m_spec.dRadius = 0.001;
    m_spec.dRadiusSum = 0.0;
    m_spec.dNeighbourSum = 0.0;
    m_spec.nPointsDone = 0;

    const auto nPlanned = static_cast<std::uint32_t>(std::min<std::int64_t>(m_spec.nIterations, nLength - d));
    const std::uint32_t nFirst = (m - 1) * d;
    const std::size_t nMaxRows = nPlanned > nFirst ? nPlanned - nFirst : 0;
    const std::size_t nSquare = engine_detail::CheckedMul(nDim, nDim);
    const std::size_t nNormal = engine_detail::CheckedMul(nDim + 1, nDim + 1);
    m_aSpecGrid.fill(-1);
    m_aSpecUsedCells.clear();
    bool ok = Allocate(m_aSpecChain, static_cast<std::size_t>(nLength), std::int32_t{-1})
              && Allocate(m_aFound, static_cast<std::size_t>(nLength), std::int32_t{0})
              && Allocate(m_aModel, nDim, 0.0) && Allocate(m_aTangent, nSquare, 0.0)
              && Allocate(m_aStretchFactors, nDim, 0.0) && Allocate(m_aExpSums, nDim, 0.0)
              && Allocate(m_aNormal, nNormal, 0.0) && Allocate(m_aNormalInv, nNormal, 0.0)
              && Allocate(m_aSolveA, nNormal, 0.0) && Allocate(m_aSolveV, nDim + 1, 0.0);
    if (ok)
        ok = Allocate(result.m_aRows, nMaxRows, std::vector<double>{});
    for (std::size_t t = 0; t < nMaxRows && ok; ++t)
        ok = Allocate(result.m_aRows[t], nDim, 0.0);
    if (!ok)
        return SpectrumResult{};
    m_aFound.clear();
    m_aSpecUsedCells.reserve(kSpecGridMask + 1);
    result.m_nPlanned = nPlanned;
    result.m_nDimension = static_cast<std::uint32_t>(nDim);

    // Start vectors: a fixed pseudo-random set, made orthonormal.
    auto rng = std::make_unique<LyapunovRandom>(623426u);
    for (int i = 0; i < 10000; ++i)
        rng->Next();
    for (double& v : m_aTangent)
        v = rng->NextUnit();
    Orthonormalise(m_aTangent, m_aStretchFactors, nDim);

    bool stopped = false;
    for (std::uint32_t a = nFirst; a < nPlanned; ++a) {
        const std::uint32_t done = ++m_spec.nPointsDone;
        if (!FitLocalDynamics(series, a, static_cast<std::uint32_t>(nLength)) || g_bAbort) {
            stopped = true;
            break;
        }
        MapTangentVectors();
        if (g_bAbort) {
            stopped = true;
            break;
        }
        Orthonormalise(m_aTangent, m_aStretchFactors, nDim);
        if (g_bAbort) {
            stopped = true;
            break;
        }
        std::vector<double>& row = result.m_aRows[done - 1];
        for (std::size_t j = 0; j < nDim; ++j) {
            m_aExpSums[j] += std::log(m_aStretchFactors[j]) / d;
            row[j] = m_aExpSums[j] / done;
        }
        result.m_nRowsDone = done;
        if (a % 50 == 0 && ProgressStep()) {
            stopped = true;
            break;
        }
        if (done > 10 && pCanvas) {
            DrawSpectrumPlot(*pCanvas, result, a + 1 == nPlanned, &m_dLastPlotScale);
            NotifyPlot();
        }
    }

    const std::uint32_t done = m_spec.nPointsDone;
    if (stopped || done == 0)
        return result;
    m_dKaplanYorke = KaplanYorke(m_aExpSums);
    result.m_dKaplanYorke = m_dKaplanYorke;
    result.m_dAverageRadius = dDataRange * m_spec.dRadiusSum / done;
    result.m_dAverageNeighbours = m_spec.dNeighbourSum / done;
    result.m_bFinished = true;
    if (pCanvas) {
        DrawKaplanYorkeText(*pCanvas, result);
        NotifyPlot();
    }
    return result;
}

bool MaxLyapunov::FitLocalDynamics(std::span<const double> x, std::uint32_t a, std::uint32_t nLength)
{
    const std::uint32_t m = m_spec.nEmbedDim;
    const std::uint32_t d = m_spec.nDelay;
    const std::uint32_t q = m_spec.nNeighbours;
    const std::size_t nDim = m_aModel.size();
    const std::size_t n = nDim + 1;

    // Grow the radius from the running average until more than q points lie within it.
    // A zero average (all earlier neighbours were duplicates) restarts from the first radius.
    double e = m_spec.dRadius > 0.0 ? m_spec.dRadius : 0.001;
    std::size_t nKept = 0;
    while (e <= 1.0) {
        BuildVectorGrid(x, (m - 1) * d, nLength - d, e);
        FindVectorNeighbours(x, a, m, d, e, m_aFound);
        if (m_aFound.size() > q) {
            e = NearestNeighbourRadius(x, a, m, d, m_aFound, q);
            nKept = q;
            break;
        }
        e *= m_spec.dGrowth;
    }
    m_spec.dRadiusSum += e;
    m_spec.dNeighbourSum += static_cast<double>(nKept);
    m_spec.dRadius = m_spec.dRadiusSum / m_spec.nPointsDone;
    if (nKept < q) {
        Report("#Not enough neighbors found.\n");
        return false;
    }

    // Normal equations of the affine model x(b + d) = k0 + sum k_i z_i(b).
    std::fill(m_aNormal.begin(), m_aNormal.end(), 0.0);
    std::vector<double> r(n, 0.0);
    std::vector<double> z(n, 1.0);
    for (std::size_t idx = 0; idx < q; ++idx) {
        const auto b = static_cast<std::size_t>(m_aFound[idx]);
        for (std::size_t k = 0; k < nDim; ++k)
            z[k + 1] = x[b - k * d];
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = i; j < n; ++j)
                m_aNormal[i * n + j] += z[i] * z[j];
        const double next = x[b + d];
        for (std::size_t i = 0; i < n; ++i)
            r[i] += next * z[i];
    }
    const double scale = 1.0 / q;
    for (std::size_t i = 0; i < n; ++i) {
        r[i] *= scale;
        for (std::size_t j = i; j < n; ++j) {
            m_aNormal[i * n + j] *= scale;
            m_aNormal[j * n + i] = m_aNormal[i * n + j];
        }
    }
    if (!InvertMatrix(m_aNormal, m_aNormalInv, n))
        return false;
    for (std::size_t k = 1; k < n; ++k) {
        double coeff = 0.0;
        for (std::size_t j = 0; j < n; ++j)
            coeff += m_aNormalInv[k * n + j] * r[j];
        m_aModel[k - 1] = coeff;
    }
    return true;
}

void MaxLyapunov::MapTangentVectors()
{
    const std::size_t nDim = m_aModel.size();
    for (std::size_t i = 0; i < nDim; ++i) {
        double* delta = &m_aTangent[i * nDim];
        double first = 0.0;
        for (std::size_t k = 0; k < nDim; ++k)
            first += m_aModel[k] * delta[k];
        for (std::size_t j = nDim - 1; j >= 1; --j)
            delta[j] = delta[j - 1];
        delta[0] = first;
    }
}

void MaxLyapunov::Orthonormalise(std::span<double> vectors, std::span<double> s, std::size_t nDim)
{
    std::vector<double> u(nDim * nDim, 0.0);
    std::vector<double> diff(nDim);
    for (std::size_t i = 0; i < nDim; ++i) {
        const double* delta = &vectors[i * nDim];
        std::fill(diff.begin(), diff.end(), 0.0);
        for (std::size_t j = 0; j < i; ++j) {
            const double* uj = &u[j * nDim];
            double dot = 0.0;
            for (std::size_t k = 0; k < nDim; ++k)
                dot += delta[k] * uj[k];
            for (std::size_t k = 0; k < nDim; ++k)
                diff[k] -= dot * uj[k];
        }
        double norm = 0.0;
        for (std::size_t k = 0; k < nDim; ++k) {
            const double c = delta[k] + diff[k];
            norm += c * c;
        }
        s[i] = std::sqrt(norm + 1e-18);
        for (std::size_t k = 0; k < nDim; ++k)
            u[i * nDim + k] = (delta[k] + diff[k]) / s[i];
    }
    std::copy(u.begin(), u.end(), vectors.begin());
}

bool MaxLyapunov::SolveLinear(std::span<double> a, std::span<double> v, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) {
        std::size_t pivot = i;
        for (std::size_t row = i + 1; row < n; ++row)
            if (std::fabs(a[row * n + i]) > std::fabs(a[pivot * n + i]))
                pivot = row;
        if (pivot != i) {
            std::swap_ranges(a.begin() + static_cast<std::ptrdiff_t>(i * n),
                             a.begin() + static_cast<std::ptrdiff_t>((i + 1) * n),
                             a.begin() + static_cast<std::ptrdiff_t>(pivot * n));
            std::swap(v[i], v[pivot]);
        }
        if (a[i * n + i] == 0.0) {
            Report("Fehler: Singuläre matrix! Erhöhen Sie versuchsweise die Anzahl der berücksichtigten Nachbarn.\n");
            return false;
        }
        for (std::size_t row = i + 1; row < n; ++row) {
            const double factor = -a[row * n + i] / a[i * n + i];
            a[row * n + i] = 0.0;
            for (std::size_t k = i + 1; k < n; ++k)
                a[row * n + k] += factor * a[i * n + k];
            v[row] += factor * v[i];
        }
    }
    if (n == 0)
        return true;
    if (a[(n - 1) * n + n - 1] == 0.0)
        a[(n - 1) * n + n - 1] = 1e-12;
    v[n - 1] /= a[(n - 1) * n + n - 1];
    for (std::size_t i = n - 1; i-- > 0;) {
        double sum = 0.0;
        for (std::size_t k = i + 1; k < n; ++k)
            sum += a[i * n + k] * v[k];
        v[i] = (v[i] - sum) / a[i * n + i];
    }
    return true;
}

bool MaxLyapunov::InvertMatrix(std::span<const double> a, std::span<double> inv, std::size_t n)
{
    if (m_aSolveA.size() < n * n)
        m_aSolveA.resize(n * n);
    if (m_aSolveV.size() < n)
        m_aSolveV.resize(n);
    for (std::size_t col = 0; col < n; ++col) {
        std::copy(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(n * n), m_aSolveA.begin());
        std::fill(m_aSolveV.begin(), m_aSolveV.begin() + static_cast<std::ptrdiff_t>(n), 0.0);
        m_aSolveV[col] = 1.0;
        const bool ok = SolveLinear(std::span<double>(m_aSolveA.data(), n * n), std::span<double>(m_aSolveV.data(), n), n);
        for (std::size_t row = 0; row < n; ++row)
            inv[row * n + col] = m_aSolveV[row];
        if (!ok || g_bAbort)
            return false;
    }
    return true;
}

double MaxLyapunov::KaplanYorke(std::span<const double> sums)
{
    double total = 0.0;
    for (std::size_t i = 0; i < sums.size(); ++i) {
        if (total + sums[i] < 0.0)
            return static_cast<double>(i) + total / std::fabs(sums[i]);
        total += sums[i];
    }
    return static_cast<double>(sums.size());
}
