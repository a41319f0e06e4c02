// lmdif with the classic control settings: at most 200 evaluations, all
// tolerances 1e-14, step bound 100, no printing.
#include "PlateauFit.h"

#include <cminpack.h>

#include <climits>
#include <cmath>
#include <vector>

namespace {

int PlateauResiduals(void* p, int m, int /*n*/, const double* x, double* fvec, int /*iflag*/)
{
    const auto* values = static_cast<const double*>(p);
    for (int i = 0; i < m; ++i)
        fvec[i] = values[i] - x[0];
    return 0;
}

} // namespace

double PlateauFit::Fit(std::span<const double> values)
{
    // The minimiser accepts no problem with fewer points than parameters.
    if (values.empty() || values.size() > static_cast<std::size_t>(INT_MAX))
        return kStart;
    const int m = static_cast<int>(values.size());
    constexpr int n = 1;
    constexpr double kTolerance = 1e-14;
    constexpr int kMaxEvaluations = 100 * (n + 1);
    constexpr double kStepBound = 100.0;
    double x = kStart;
    std::vector<double> fvec(static_cast<std::size_t>(m));
    std::vector<double> fjac(static_cast<std::size_t>(m) * n);
    std::vector<double> wa4(static_cast<std::size_t>(m));
    double diag[n];
    double qtf[n];
    double wa1[n];
    double wa2[n];
    double wa3[n];
    int ipvt[n];
    int nfev = 0;
    const int info = lmdif(PlateauResiduals, const_cast<double*>(values.data()), m, n, &x, fvec.data(),
                           kTolerance, kTolerance, kTolerance, kMaxEvaluations, kTolerance, diag, 1, kStepBound,
                           0, &nfev, fjac.data(), m, ipvt, qtf, wa1, wa2, wa3, wa4.data());
    if (info <= 0 || !std::isfinite(x))
        return kStart;
    return x;
}
