// Every setting a profile carries, the ten window placements, and the routines
// that move them between the running program and a profile file.  The
// application object derives from this class, so the settings are its members.
#pragma once

#include "Colour.h"
#include "WindowPlacement.h"

#include <QRect>
#include <QString>
#include <QStringList>
#include <array>

// Profile kinds (m_nProfileKind).
enum ProfileKind : int {
    kProfileStandard = 0, kProfileMusiker = 1, kProfileAnalytiker = 2, kProfileKomplett = 3,
    kProfileGrundschule = 4, kProfileOberschule = 5, kProfileLastUsed = 6, kProfileUser = 7,
};

class CProfileSettings {
public:
    virtual ~CProfileSettings() = default;

    // Builds m_strProfilePath for m_nProfileKind; reads it when it exists.  A
    // missing file is reported and gives false.
    bool ReadProfile();
    // Writes every setting into the last-used profile (kind 6) or the user
    // profile (kind 7); false when the user refuses to overwrite.
    bool WriteProfile();
    // Moves every setting in catalogue order: CIniFile::kRead file to members,
    // CIniFile::kWrite members to file.
    void ExchangeProfile(int nDirection);

    // Profile file name of a kind, relative to the program folder ("Profile/...").
    QString ProfileFileOfKind(int nKind) const;
    static QString UserProfileFile(const QString& strName);
    // The user name inside "TonaroUserProfil-<name>.ini"; empty when it is not one.
    static QString UserProfileName(const QString& strFile);
    // The user names of the profiles in strFolder: files whose name holds
    // "TonaroUserProfil-" exactly once, without that text and ".ini".
    static QStringList ListUserProfiles(const QString& strFolder);

    // The FFT size rule of profiles: a power of two stays, other sizes are
    // lowered to the power of two below unless they lie less than 2^0.1 above it;
    // 0 and negative sizes give 0.
    static int RoundFFTPoints(int n);
    // Keeps a main window placement (pixels) on the work area: a rectangle off
    // the area is replaced by the default placement, one partly off is moved in.
    static WindowPlacement CheckOnScreen(const WindowPlacement& wp, const QRect& rcWorkArea);

    // The screen's available area, used to check the main window's placement
    // when a profile is read.  Set by the application (tests set it directly).
    QRect m_rcWorkArea{0, 0, 1920, 1080};

    QString m_strProfilePath;                    // full path of the profile in use
    int m_nProfileKind = kProfileStandard;       // ProfileKind
    QString m_strUserProfileFile;                // "TonaroUserProfil-<name>.ini"
    bool m_bSchoolStartWithFile = true;          // school profile: start with a file (else listen)

    // Allgemein
    int IniAllgemeinGrundschulprofil = 0;        // 1 = school profile
    int IniAllgemeinStatusbar = 0;               // status bar shown
    int IniAllgemeinToolbarNormal = 0;           // normal tool bar shown
    int IniAllgemeinToolbarSchule = 0;           // school tool bar shown
    int IniAllgemeinMenu = 0;                    // kept and written back
    // Dokument
    int IniDokumentNumFFTPoints = 0;             // FFT size; 0 = no profile was read
    QString IniDokumentPlayFile;                 // sound file loaded with the profile
    // Fenster: window open (0/1)
    int IniFensterFFT = 0, IniFensterFFT3D = 0, IniFensterAnalyse = 0, IniFensterNotenbild = 0;
    int IniFensterReko = 0, IniFensterSono = 0, IniFensterWavelet = 0, IniFensterZeitreihe = 0;
    // ZEITREIHE
    int IniZeitreiheKorrCount = 0, IniZeitreihePartitions = 0, IniZeitreiheCorrlength = 0;
    int IniZeitreiheWhatIs = 0;
    // FFT (Hz, kHz, dB limits; distances in bins)
    int IniFFTBottomCutHz = 0, IniFFTTopCutkHz = 0, IniFFTBottomCutAmp = 0, IniFFTTopCutAmp = 0;
    int IniFFTDelay = 0, IniFFTbIsDelay = 0, IniFFTbGrid = 0, IniFFTMinAbstandMaxima = 0;
    int IniFFTMinAbstandNachbarMin = 0, IniFFTbIsAmpLinear = 0, IniFFTbIsFreqLinear = 0;
    int IniFFTbDarstellung = 0, IniFFTbIsCrossVisible = 0, IniFFTbIsSpline = 0, IniFFTSplineTyp = 0;
    int IniFFTbIsSumme = 0;
    // 3DFFT
    float Ini3DFFTSchrittweite = 0.0f;
    ColourRef Ini3DFFTclrBackBuffer = 0;
    int Ini3DFFTBottomCutHz = 0, Ini3DFFTTopCutkHz = 0;
    float Ini3DFFTSizePts = 0.0f;
    int Ini3DFFTbIsWire = 0, Ini3DFFTBreite = 0;
    float Ini3DFFTEpsilon = 0.0f;
    int Ini3DFFTTau = 0, Ini3DFFTbIsBunt = 0, Ini3DFFTbIsAmpLinear = 0, Ini3DFFTbIsFreqLinear = 0;
    // Rekonstruktion
    int IniRekoTau = 0;
    ColourRef IniRekoclrBackBuffer = 0;
    float IniRekoSizePts = 0.0f;
    int IniRekobIsPunkte = 0, IniRekoNumRekoPoints = 0, IniRekobIsBunt = 0;
    // Sonogramm
    int IniSonoBottomCutHz = 0, IniSonoLiniendicke = 0, IniSonobIsSmooth = 0, IniSonoTopCutkHz = 0;
    int IniSonobIsAmpLinear = 0, IniSonobIsFreqLinear = 0, IniSonobIsFarbig1 = 0;
    // Notenbild
    int IniNotenbildIsLinear = 0, IniNotenbildWhatIs = 0, IniNotenbildObertonanzahl = 0;
    // Wavelet
    QString IniWaveletWavelet;
    float IniWaveletFreqmin = 0.0f, IniWaveletFreqmax = 0.0f;
    int IniWaveletFreqn = 0, IniWaveletZeitn = 0, IniWaveletadiv = 0;
    // Analyse
    int IniAnalyseDimLya = 0, IniAnalyseTauLya = 0, IniAnalyseNumberOfLya = 0, IniAnalyseIterLya = 0;
    int IniAnalyseNumPointsLya = 0, IniAnalyseMaxDimLya = 0;
    double IniAnalyseRadiusMinLya = 0.0;
    int IniAnalyseNumPointsLyaMax = 0, IniAnalyseIterLyaMax = 0, IniAnalyseNumberOfLyaMax = 0;
    int IniAnalyseTauLyaMax = 0;
    double IniAnalyseRadiusMinLyaMax = 0.0, IniAnalyseRadiusMaxLyaMax = 0.0;
    int IniAnalyseMinDimDoneMaxLya = 0, IniAnalyseMaxDimDoneMaxLya = 0, IniAnalyseReferenzLyaMax = 0;
    int IniAnalyseDimKorr = 0, IniAnalyseNumPointsKorr = 0, IniAnalyseNumberOfKorr = 0;
    int IniAnalyseTauKorr = 0;
    double IniAnalyseRadiusMinKorr = 0.0, IniAnalyseRadiusMaxKorr = 0.0;
    int IniAnalyseMaxDimKorr = 0, IniAnalyseIterKorr = 0, IniAnalyseWhatIs = 0;

    // The ten window placements (index: PlacementIndex).
    std::array<WindowPlacement, kPlacementCount> m_wp{};
};
