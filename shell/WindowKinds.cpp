#include "WindowKinds.h"

#include "resource_ids.h"

using namespace Res;

const std::array<WindowKindInfo, kWindowKindCount>& WindowKinds()
{
    using D = CTonaroDoc;
    using S = CProfileSettings;
    static const std::array<WindowKindInfo, kWindowKindCount> kinds = {{
        {WindowKind::FFT, kCmdToggleFFT, kCmdRaiseFFT, kStrFFT, "FFT", "&FFT", "FFT", "FFT",
         "Bringt das FFT-Fenster in den Vordergrund.", &D::m_pFFTFrame, &S::IniFensterFFT, -1, kPlaceFFT,
         kBarFFT},
        {WindowKind::FFT3D, kCmdToggleFFT3D, kCmdRaiseFFT3D, kStrFFT3D, "3D FFT (Help: Strg+h, Reset: Strg+r)",
         "3D FFT", "Tonlandschaft", "3D-FFT", "Bringt das FFT-3D-Fenster in den Vordergrund.", &D::m_pFFT3DFrame,
         &S::IniFensterFFT3D, 1, kPlaceFFT3D, kBarFFT3D},
        {WindowKind::Reko, kCmdToggleReko, kCmdRaiseReko, kStrReko,
         "3D Rekonstruktion (Help: Strg+h, Reset: Strg+r)", "&3D Rekonstruktion", "Fingerabdruck",
         "3D-Rekonstruktion", "Bringt das 3D-Rekonstruktionsfenster in den Vordergrund.", &D::m_pRekoFrame,
         &S::IniFensterReko, 2, kPlaceReko, kBarReko},
        {WindowKind::Sono, kCmdToggleSono, kCmdRaiseSono, kStrSono, "Sonogramm", "Sono&gramm", "Sonogramm",
         "Sonogramm", "Bringt das Sonogrammfenster in den Vordergrund.", &D::m_pSonoFrame, &S::IniFensterSono, 3,
         kPlaceSono, kBarSono},
        {WindowKind::Notenbild, kCmdToggleNotenbild, kCmdRaiseNotenbild, kStrNotenbild, "Notenbild", "&Notenbild",
         "Notenlinien", "Notenbild", "Bringt das Notenbildfenster in den Vordergrund.", &D::m_pNotenbildFrame,
         &S::IniFensterNotenbild, 0, kPlaceNotenbild, kBarNotenbild},
        {WindowKind::Zeitreihe, kCmdToggleZeitreihe, kCmdRaiseZeitreihe, kStrZeitreihe, "Zeitreihe", "&Zeitreihe",
         "Zeitreihe/Autokorrelation", "Zeitreihe", "Bringt das Zeitreihenfenster in den Vordergrund.",
         &D::m_pZeitreiheFrame, &S::IniFensterZeitreihe, -1, kPlaceZeitreihe, kBarZeitreihe},
        {WindowKind::Analyse, kCmdToggleAnalyse, kCmdRaiseAnalyse, kStrAnalyse, "Zeitreihenanalyse",
         "&Zeitreihenanalyse", "Zeitreihenanalyse", "Analyse", "Bringt das Analysefenster in den Vordergrund.",
         &D::m_pAnalyseFrame, &S::IniFensterAnalyse, -1, kPlaceAnalyse, kBarAnalyse},
        {WindowKind::Wavelet, kCmdToggleWavelet, kCmdRaiseWavelet, kStrWavelet, "Wavelet", "&Wavelet",
         "Waveletanalyse", "Waveletanalyse", "Bringt das Waveletfenster in den Vordergrund.", &D::m_pWaveletFrame,
         &S::IniFensterWavelet, -1, kPlaceWavelet, kBarWavelet},
    }};
    return kinds;
}

const WindowKindInfo& KindInfo(WindowKind eKind)
{
    return WindowKinds()[static_cast<std::size_t>(eKind)];
}

const WindowKindInfo* KindOfToggle(int nCommand)
{
    for (const WindowKindInfo& k : WindowKinds())
        if (k.nToggleCommand == nCommand)
            return &k;
    return nullptr;
}

const WindowKindInfo* KindOfRaise(int nCommand)
{
    for (const WindowKindInfo& k : WindowKinds())
        if (k.nRaiseCommand == nCommand)
            return &k;
    return nullptr;
}
