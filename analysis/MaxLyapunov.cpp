// Construction, set-up and the shared data preparation of the nonlinear engine.
#include "MaxLyapunov.h"

#include "EngineHelpers.h"
#include "ProgramFlags.h"
#include "UiServices.h"

#include <algorithm>
#include <cmath>

namespace {

// Without a handler of its own the engine shows its messages in a message box.
void DefaultMessage(const std::string& text)
{
    Ui().Message(QString::fromStdString(text));
}

} // namespace

MaxLyapunov::MaxLyapunov()
{
    m_aMaxGrid.fill(-1);
    m_aSpecGrid.fill(-1);
    m_aCorrGrid1.fill(-1);
    m_aCorrGrid2.fill(-1);
}

std::unique_ptr<MaxLyapunov> MaxLyapunov::Create(const MessageHandler& onMessage)
{
    std::unique_ptr<MaxLyapunov> engine(new (std::nothrow) MaxLyapunov);
    if (!engine) {
        (onMessage ? onMessage : DefaultMessage)("MaxLyapunov::check_alloc: Couldn't allocate enough memory.\n");
        g_bAbort = true;
        return engine;
    }
    engine->SetMessageHandler(onMessage);
    return engine;
}

void MaxLyapunov::SetUp(const SpectrumParams& params)
{
    m_nMode = 0;
    m_spec = SpectrumBlock{};
    m_spec.nEmbedDim = std::max<std::uint32_t>(params.m_nEmbedDim, 1);
    m_spec.nDelay = std::max<std::uint32_t>(params.m_nDelay, 1);
    m_spec.nNeighbours = params.m_nNeighbours == 0 ? 30 : params.m_nNeighbours;
    m_spec.nIterations = params.m_nIterations;
    m_spec.dRadius = params.m_dRadius;
    m_dLastPlotScale = 0.0;
    m_dKaplanYorke = 0.0;
}

void MaxLyapunov::SetUp(const MaxExponentParams& params)
{
    m_nMode = 1;
    m_max = MaxExpBlock{};
    m_max.nIterations = params.m_nIterations;
    m_max.nMaxDim = params.m_nMaxDim;
    m_max.nMinDim = params.m_nMinDim;
    m_max.nDelay = std::max<std::uint32_t>(params.m_nDelay, 1);
    m_max.nSizes = std::max<std::uint32_t>(params.m_nSizes, 1);
    m_max.dMinSize = params.m_dMinSize;
    m_max.dMaxSize = params.m_dMaxSize;
    m_max.nReferences = params.m_nReferences;
    m_max.nWindow = 0;
    m_dLastPlotScale = 0.0;
    m_dKaplanYorke = 0.0;
}

void MaxLyapunov::SetUp(const CorrDimParams& params)
{
    m_nMode = 2;
    m_corr = CorrBlock{};
    m_corr.nMaxDim = std::max<std::uint32_t>(params.m_nMaxDim, 1);
    m_corr.nRadii = std::max<std::uint32_t>(params.m_nRadii, 2);
    m_corr.nDelay = std::max<std::uint32_t>(params.m_nDelay, 1);
    m_corr.dMinRadius = params.m_dMinRadius;
    m_corr.dMaxRadius = params.m_dMaxRadius;
    m_corr.nPairTarget = params.m_nPairTarget;
    m_corr.nExclusion = 500;
    m_dLastPlotScale = 0.0;
    m_dKaplanYorke = 0.0;
}

void MaxLyapunov::Report(const std::string& text)
{
    (m_fnMessage ? m_fnMessage : DefaultMessage)(text);
    g_bAbort = true;
}

bool MaxLyapunov::ProgressStep()
{
    if (m_fnProgress)
        m_fnProgress();
    return g_bAbort;
}

void MaxLyapunov::NotifyPlot()
{
    if (m_fnPlot)
        m_fnPlot();
}

bool MaxLyapunov::check_alloc(const void* p)
{
    if (p)
        return true;
    Report("MaxLyapunov::check_alloc: Couldn't allocate enough memory.\n");
    return false;
}

bool MaxLyapunov::rescale_data(std::span<double> x, double& dMin, double& dRange)
{
    dMin = 0.0;
    dRange = 0.0;
    if (!x.empty()) {
        double lo = x[0];
        double hi = x[0];
        for (double v : x) {
            if (v < lo)
                lo = v;
            if (v > hi)
                hi = v;
        }
        dMin = lo;
        dRange = hi - lo;
    }
    if (dRange == 0.0) {
        Report("rescale_data: data ranges = Null. It makes\n\t\tno sense to continue. \n\n");
        return false;
    }
    for (double& v : x)
        v = (v - dMin) / dRange;
    return true;
}

bool MaxLyapunov::variance(std::span<const double> x, double& dMean, double& dStdDev)
{
    double sum = 0.0;
    double sumSq = 0.0;
    for (double v : x) {
        sum += v;
        sumSq += v * v;
    }
    const double n = x.empty() ? 1.0 : static_cast<double>(x.size());
    dMean = sum / n;
    dStdDev = std::sqrt(std::fabs(sumSq / n - dMean * dMean));
    if (dStdDev == 0.0) {
        Report("Fehler: Variance of the data is zero.\n\n");
        return false;
    }
    return true;
}
