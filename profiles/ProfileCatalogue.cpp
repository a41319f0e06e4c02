// The settings catalogue as data: every profile key in file order with the
// member it fills, walked in one direction or the other by ExchangeProfile.
#include "IniFile.h"
#include "ProfileSettings.h"

#include <variant>

namespace {

using S = CProfileSettings;
using Member = std::variant<int S::*, float S::*, double S::*, QString S::*, ColourRef S::*>;

struct CatalogueEntry {
    const char* section;   // section name; null = the section of the entry before
    const char* key;
    Member member;
};

#define KEY(name) {nullptr, #name, &S::name}
#define SECTION(section, name) {section, #name, &S::name}

const CatalogueEntry kHead[] = {
    SECTION("Allgemein", IniAllgemeinGrundschulprofil), KEY(IniAllgemeinStatusbar),
    KEY(IniAllgemeinToolbarNormal), KEY(IniAllgemeinToolbarSchule), KEY(IniAllgemeinMenu),
    SECTION("Dokument", IniDokumentNumFFTPoints),
};

const CatalogueEntry kBody[] = {
    SECTION("Dokument", IniDokumentPlayFile),
    SECTION("Fenster", IniFensterFFT), KEY(IniFensterFFT3D), KEY(IniFensterAnalyse),
    KEY(IniFensterNotenbild), KEY(IniFensterReko), KEY(IniFensterSono), KEY(IniFensterWavelet),
    KEY(IniFensterZeitreihe),
    SECTION("ZEITREIHE", IniZeitreiheKorrCount), KEY(IniZeitreihePartitions), KEY(IniZeitreiheCorrlength),
    KEY(IniZeitreiheWhatIs),
    SECTION("FFT", IniFFTBottomCutHz), KEY(IniFFTTopCutkHz), KEY(IniFFTBottomCutAmp), KEY(IniFFTTopCutAmp),
    KEY(IniFFTDelay), KEY(IniFFTbIsDelay), KEY(IniFFTbGrid), KEY(IniFFTMinAbstandMaxima),
    KEY(IniFFTMinAbstandNachbarMin), KEY(IniFFTbIsAmpLinear), KEY(IniFFTbIsFreqLinear),
    KEY(IniFFTbDarstellung), KEY(IniFFTbIsCrossVisible), KEY(IniFFTbIsSpline), KEY(IniFFTSplineTyp),
    KEY(IniFFTbIsSumme),
    SECTION("3DFFT", Ini3DFFTSchrittweite), KEY(Ini3DFFTclrBackBuffer), KEY(Ini3DFFTBottomCutHz),
    KEY(Ini3DFFTTopCutkHz), KEY(Ini3DFFTSizePts), KEY(Ini3DFFTbIsWire), KEY(Ini3DFFTBreite),
    KEY(Ini3DFFTEpsilon), KEY(Ini3DFFTTau), KEY(Ini3DFFTbIsBunt), KEY(Ini3DFFTbIsAmpLinear),
    KEY(Ini3DFFTbIsFreqLinear),
    SECTION("Rekonstruktion", IniRekoTau), KEY(IniRekoclrBackBuffer), KEY(IniRekoSizePts),
    KEY(IniRekobIsPunkte), KEY(IniRekoNumRekoPoints), KEY(IniRekobIsBunt),
    SECTION("Sonogramm", IniSonoBottomCutHz), KEY(IniSonoLiniendicke), KEY(IniSonobIsSmooth),
    KEY(IniSonoTopCutkHz), KEY(IniSonobIsAmpLinear), KEY(IniSonobIsFreqLinear), KEY(IniSonobIsFarbig1),
    SECTION("Notenbild", IniNotenbildIsLinear), KEY(IniNotenbildWhatIs), KEY(IniNotenbildObertonanzahl),
    SECTION("Wavelet", IniWaveletWavelet), KEY(IniWaveletFreqmin), KEY(IniWaveletFreqmax),
    KEY(IniWaveletFreqn), KEY(IniWaveletZeitn), KEY(IniWaveletadiv),
    SECTION("Analyse", IniAnalyseDimLya), KEY(IniAnalyseTauLya), KEY(IniAnalyseNumberOfLya),
    KEY(IniAnalyseIterLya), KEY(IniAnalyseNumPointsLya), KEY(IniAnalyseMaxDimLya),
    KEY(IniAnalyseRadiusMinLya), KEY(IniAnalyseNumPointsLyaMax), KEY(IniAnalyseIterLyaMax),
    KEY(IniAnalyseNumberOfLyaMax), KEY(IniAnalyseTauLyaMax), KEY(IniAnalyseRadiusMinLyaMax),
    KEY(IniAnalyseRadiusMaxLyaMax), KEY(IniAnalyseMinDimDoneMaxLya), KEY(IniAnalyseMaxDimDoneMaxLya),
    KEY(IniAnalyseReferenzLyaMax), KEY(IniAnalyseDimKorr), KEY(IniAnalyseNumPointsKorr),
    KEY(IniAnalyseNumberOfKorr), KEY(IniAnalyseTauKorr), KEY(IniAnalyseRadiusMinKorr),
    KEY(IniAnalyseRadiusMaxKorr), KEY(IniAnalyseMaxDimKorr), KEY(IniAnalyseIterKorr),
    KEY(IniAnalyseWhatIs),
};

#undef KEY
#undef SECTION

// Placement sections in file order with their placement index.
struct PlacementSection {
    const char* section;
    int index;
};
const PlacementSection kPlacementSections[] = {
    {"MainWindow", kPlaceMain},           {"UebersichtWindow", kPlaceUebersicht},
    {"FFTWindow", kPlaceFFT},             {"FFT3DWindow", kPlaceFFT3D},
    {"AnalyseWindow", kPlaceAnalyse},     {"NotenbildWindow", kPlaceNotenbild},
    {"RekonstruktionsWindow", kPlaceReko}, {"SonogrammWindow", kPlaceSono},
    {"WaveletWindow", kPlaceWavelet},     {"ZeitreiheWindow", kPlaceZeitreihe},
};

template <std::size_t N>
void ExchangeEntries(CIniFile& ini, int nDirection, S& settings, const CatalogueEntry (&entries)[N])
{
    for (const CatalogueEntry& e : entries) {
        if (e.section)
            ini.SetSection(QString::fromLatin1(e.section));
        const QString key = QString::fromLatin1(e.key);
        std::visit(
            [&](auto member) {
                auto* value = &(settings.*member);
                using T = std::remove_pointer_t<decltype(value)>;
                ini.Exchange(nDirection, value, key, T{});
            },
            e.member);
    }
}

void ExchangePlacement(CIniFile& ini, int nDirection, WindowPlacement& wp, const char* section)
{
    const WindowPlacement def;
    ini.SetSection(QString::fromLatin1(section));
    ini.Exchange(nDirection, &wp.showCmd, "wp->showCmd", def.showCmd);
    ini.Exchange(nDirection, &wp.flags, "wp->flags", def.flags);
    ini.Exchange(nDirection, &wp.ptMinX, "wp->ptMinPosition.x", def.ptMinX);
    ini.Exchange(nDirection, &wp.ptMinY, "wp->ptMinPosition.y", def.ptMinY);
    ini.Exchange(nDirection, &wp.ptMaxX, "wp->ptMaxPosition.x", def.ptMaxX);
    ini.Exchange(nDirection, &wp.ptMaxY, "wp->ptMaxPosition.y", def.ptMaxY);
    ini.Exchange(nDirection, &wp.left, "wp->rcNormalPosition.left", def.left);
    ini.Exchange(nDirection, &wp.top, "wp->rcNormalPosition.top", def.top);
    ini.Exchange(nDirection, &wp.right, "wp->rcNormalPosition.right", def.right);
    ini.Exchange(nDirection, &wp.bottom, "wp->rcNormalPosition.bottom", def.bottom);
}

} // namespace

void CProfileSettings::ExchangeProfile(int nDirection)
{
    CIniFile ini(m_strProfilePath, QStringLiteral("Allgemein"));
    ExchangeEntries(ini, nDirection, *this, kHead);
    IniDokumentNumFFTPoints = RoundFFTPoints(IniDokumentNumFFTPoints);
    ExchangeEntries(ini, nDirection, *this, kBody);

    for (const PlacementSection& p : kPlacementSections) {
        ExchangePlacement(ini, nDirection, m_wp[p.index], p.section);
        if (p.index == kPlaceMain && nDirection == CIniFile::kRead)
            m_wp[kPlaceMain] = CheckOnScreen(m_wp[kPlaceMain], m_rcWorkArea);
    }
}
