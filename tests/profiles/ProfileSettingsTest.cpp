// Profiles: the FFT size rule, the main window check, reading and writing the
// whole catalogue, user profile names, and damaged files.
#include "IniFile.h"
#include "ProfileSettings.h"
#include "ProgramPaths.h"
#include "ScriptedUiServices.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

class ProfileTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        SetUiServices(&m_ui);
        QDir().mkpath(ProgramPaths::InProgramFolder("Profile"));
    }
    void TearDown() override
    {
        SetUiServices(nullptr);
        TempDirTest::TearDown();
    }
    static void WriteFile(const QString& name, const QByteArray& bytes)
    {
        QFile f(ProgramPaths::InProgramFolder(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QString ReadFile(const QString& name)
    {
        QFile f(ProgramPaths::InProgramFolder(name));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    ScriptedUiServices m_ui;
};

TEST(ProfileRules, FftSizeIsLoweredToAPowerOfTwoUnlessJustAboveOne)
{
    const struct { int in, out; } cases[] = {
        {3000, 2048}, {4096, 4096}, {1030, 1030}, {1024, 1024}, {1100, 1024}, {1, 1}, {8, 8},
        {524288, 524288}, {600000, 524288}, {0, 0}, {-5, 0}, {3, 2}, {2, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CProfileSettings::RoundFFTPoints(c.in), c.out) << c.in;
    // Every power of two survives (no off-by-one from rounding).
    for (int i = 0; i < 31; ++i)
        EXPECT_EQ(CProfileSettings::RoundFFTPoints(1 << i), 1 << i) << i;
}

TEST(ProfileRules, MainWindowIsKeptOnTheWorkArea)
{
    const QRect area(0, 0, 1920, 1040);
    auto place = [](int l, int t, int r, int b) {
        WindowPlacement wp;
        wp.showCmd = kShowNormal;
        wp.left = l, wp.top = t, wp.right = r, wp.bottom = b;
        return wp;
    };
    // On a second monitor that is gone: the default placement.
    EXPECT_EQ(CProfileSettings::CheckOnScreen(place(2000, 100, 2800, 700), area), WindowPlacement{});
    EXPECT_EQ(CProfileSettings::CheckOnScreen(place(-900, 100, -100, 700), area), WindowPlacement{});
    // Inside: unchanged.
    EXPECT_EQ(CProfileSettings::CheckOnScreen(place(10, 20, 800, 600), area), place(10, 20, 800, 600));
    // Partly off: moved in, keeping its size.
    EXPECT_EQ(CProfileSettings::CheckOnScreen(place(-100, -50, 700, 550), area), place(0, 0, 800, 600));
    EXPECT_EQ(CProfileSettings::CheckOnScreen(place(1500, 900, 2100, 1200), area),
              place(1320, 740, 1920, 1040));
    // Reversed rectangle is normalised first.
    EXPECT_EQ(CProfileSettings::CheckOnScreen(place(800, 600, 10, 20), area), place(10, 20, 800, 600));
    // Larger than the area: its left and top edges stay on the area.
    const WindowPlacement big = CProfileSettings::CheckOnScreen(place(-10, -10, 3000, 2000), area);
    EXPECT_EQ(big.left, 0);
    EXPECT_EQ(big.top, 0);
}

TEST(ProfileRules, UserProfileNames)
{
    EXPECT_EQ(CProfileSettings::UserProfileFile("Anna"), "TonaroUserProfil-Anna.ini");
    EXPECT_EQ(CProfileSettings::UserProfileFile(""), "TonaroUserProfil-.ini");
    EXPECT_EQ(CProfileSettings::UserProfileName("TonaroUserProfil-Anna.ini"), "Anna");
}

TEST_F(ProfileTest, ListsUserProfilesWithThePrefixExactlyOnce)
{
    for (const char* name : {"TonaroUserProfil-Anna.ini", "TonaroUserProfil-TonaroUserProfil-X.ini",
                             "TonaroStandardProfil.ini", "TonaroUserProfil-Ben.ini"})
        WriteFile(QString("Profile/") + name, "[Allgemein]\n");
    EXPECT_EQ(CProfileSettings::ListUserProfiles(ProgramPaths::InProgramFolder("Profile")),
              QStringList({"Anna", "Ben"}));
}

TEST_F(ProfileTest, ReadsTheFftSizeWithTheRoundingRule)
{
    const struct { const char* value; int expected; } cases[] = {{"3000", 2048}, {"4096", 4096}, {"1030", 1030}};
    for (const auto& c : cases) {
        WriteFile("Profile/TonaroStandardProfil.ini",
                  QByteArray("[Dokument]\nIniDokumentNumFFTPoints=") + c.value + "\n");
        CProfileSettings s;
        ASSERT_TRUE(s.ReadProfile());
        EXPECT_EQ(s.IniDokumentNumFFTPoints, c.expected) << c.value;
    }
    WriteFile("Profile/TonaroStandardProfil.ini", "[Allgemein]\nIniAllgemeinStatusbar=1\n");
    CProfileSettings s;
    s.IniDokumentNumFFTPoints = 77;
    ASSERT_TRUE(s.ReadProfile());
    EXPECT_EQ(s.IniDokumentNumFFTPoints, 0);   // missing key
    EXPECT_EQ(s.IniAllgemeinStatusbar, 1);
}

TEST_F(ProfileTest, MissingProfileIsReported)
{
    CProfileSettings s;
    s.m_nProfileKind = kProfileUser;
    s.m_strUserProfileFile = CProfileSettings::UserProfileFile("Anna");
    EXPECT_FALSE(s.ReadProfile());
    ASSERT_EQ(m_ui.CallsOf(UiCallKind::MessageBox).size(), 1u);
    const UiCall call = m_ui.CallsOf(UiCallKind::MessageBox)[0];
    EXPECT_EQ(call.m_eIcon, MsgIcon::Error);
    EXPECT_TRUE(call.m_strText.startsWith("Dieses Profil exisiert nicht im Unterverzeichnis Profile"));
    EXPECT_TRUE(call.m_strText.contains("Profile/TonaroUserProfil-Anna.ini liegt."));
}

TEST_F(ProfileTest, UserProfileWritesEveryCatalogueSectionAndPlacement)
{
    CProfileSettings s;
    s.m_nProfileKind = kProfileUser;
    s.m_strUserProfileFile = CProfileSettings::UserProfileFile("Test");
    s.IniDokumentNumFFTPoints = 4096;
    s.IniDokumentPlayFile = "/tmp/a b/Klänge.wav";
    s.IniFFTTopCutkHz = 11;
    s.Ini3DFFTSchrittweite = 0.123456789f;
    s.IniAnalyseRadiusMinKorr = 1.23456789e-7;
    s.IniWaveletFreqmax = 2345.678f;
    s.Ini3DFFTclrBackBuffer = 0x00C0FFEEu;
    s.m_wp[kPlaceSono] = {kShowNormal, 0, -1, -1, -1, -1, 5000, 0, 10000, 5000};
    ASSERT_TRUE(s.WriteProfile());
    EXPECT_TRUE(s.m_strProfilePath.endsWith("/Profile/TonaroUserProfil-Test.ini"));

    const QString text = ReadFile("Profile/TonaroUserProfil-Test.ini");
    for (const char* section : {"Allgemein", "Dokument", "Fenster", "ZEITREIHE", "FFT", "3DFFT", "Rekonstruktion",
                                "Sonogramm", "Notenbild", "Wavelet", "Analyse", "MainWindow", "UebersichtWindow",
                                "FFTWindow", "FFT3DWindow", "AnalyseWindow", "NotenbildWindow",
                                "RekonstruktionsWindow", "SonogrammWindow", "WaveletWindow", "ZeitreiheWindow"})
        EXPECT_TRUE(text.contains(QString("[%1]").arg(section))) << section;
    EXPECT_TRUE(text.contains("IniAnalyseWhatIs="));
    EXPECT_EQ(text.count("wp->rcNormalPosition.bottom="), 10);
    // Sections come in catalogue order.
    EXPECT_LT(text.indexOf("[Allgemein]"), text.indexOf("[Dokument]"));
    EXPECT_LT(text.indexOf("[Analyse]"), text.indexOf("[MainWindow]"));
    EXPECT_LT(text.indexOf("[FFT3DWindow]"), text.indexOf("[AnalyseWindow]"));

    CProfileSettings r;
    r.m_nProfileKind = kProfileUser;
    r.m_strUserProfileFile = s.m_strUserProfileFile;
    ASSERT_TRUE(r.ReadProfile());
    EXPECT_EQ(r.IniDokumentPlayFile, s.IniDokumentPlayFile);
    EXPECT_EQ(r.IniFFTTopCutkHz, 11);
    EXPECT_EQ(r.Ini3DFFTclrBackBuffer, 0x00C0FFEEu);
    EXPECT_EQ(r.m_wp[kPlaceSono], s.m_wp[kPlaceSono]);
    // Floats keep six significant digits.
    EXPECT_FLOAT_EQ(r.Ini3DFFTSchrittweite, 0.123457f);
    EXPECT_DOUBLE_EQ(r.IniAnalyseRadiusMinKorr, 1.23457e-7);
    EXPECT_FLOAT_EQ(r.IniWaveletFreqmax, 2345.68f);
}

TEST_F(ProfileTest, ExistingUserProfileIsOnlyOverwrittenOnOk)
{
    WriteFile("Profile/TonaroUserProfil-Test.ini", "[Dokument]\nIniDokumentNumFFTPoints=512\n");
    CProfileSettings s;
    s.m_nProfileKind = kProfileUser;
    s.m_strUserProfileFile = CProfileSettings::UserProfileFile("Test");
    s.IniDokumentNumFFTPoints = 8192;
    m_ui.QueueMessageAnswer(IDCANCEL);
    EXPECT_FALSE(s.WriteProfile());
    EXPECT_TRUE(ReadFile("Profile/TonaroUserProfil-Test.ini").contains("=512"));
    EXPECT_TRUE(m_ui.MessageTexts().last().startsWith("Dieses Profil exisiert bereits"));
    m_ui.QueueMessageAnswer(IDOK);
    EXPECT_TRUE(s.WriteProfile());
    EXPECT_TRUE(ReadFile("Profile/TonaroUserProfil-Test.ini").contains("IniDokumentNumFFTPoints=8192"));
}

TEST_F(ProfileTest, OtherKindsWriteTheLastUsedProfile)
{
    CProfileSettings s;
    s.m_nProfileKind = kProfileMusiker;
    s.IniDokumentNumFFTPoints = 2048;
    ASSERT_TRUE(s.WriteProfile());
    EXPECT_TRUE(ReadFile("Profile/TonaroZuletztVerwendetProfil.ini").contains("IniDokumentNumFFTPoints=2048"));
    EXPECT_FALSE(QFile::exists(ProgramPaths::InProgramFolder("Profile/TonaroMusikerProfil.ini")));
}

TEST_F(ProfileTest, OffScreenMainWindowIsReplacedWhenRead)
{
    WriteFile("Profile/TonaroStandardProfil.ini",
              "[MainWindow]\nwp->showCmd=1\nwp->rcNormalPosition.left=3000\nwp->rcNormalPosition.top=100\n"
              "wp->rcNormalPosition.right=3800\nwp->rcNormalPosition.bottom=700\n"
              "[FFTWindow]\nwp->showCmd=1\nwp->rcNormalPosition.left=5000\nwp->rcNormalPosition.right=9000\n");
    CProfileSettings s;
    s.m_rcWorkArea = QRect(0, 0, 1920, 1080);
    ASSERT_TRUE(s.ReadProfile());
    EXPECT_EQ(s.m_wp[kPlaceMain], WindowPlacement{});
    EXPECT_EQ(s.m_wp[kPlaceFFT].left, 5000);   // relative units are not checked
    EXPECT_EQ(s.m_wp[kPlaceFFT].bottom, 10);   // missing key: the default placement's value
}

TEST_F(ProfileTest, DamagedProfilesGiveDefaults)
{
    QByteArray garbage;
    for (int i = 0; i < 70000; ++i)
        garbage.append(static_cast<char>((i * 7919) & 0xFF));
    const QByteArray hugeLine = "[Dokument]\nIniDokumentNumFFTPoints=" + QByteArray(10 * 1024 * 1024, '9') + "\n";
    const QByteArray noSections = "IniDokumentNumFFTPoints=4096\nfoo\n=\n[\n";
    for (const QByteArray& bytes : {garbage, hugeLine, noSections}) {
        WriteFile("Profile/TonaroStandardProfil.ini", bytes);
        CProfileSettings s;
        ASSERT_TRUE(s.ReadProfile());
        EXPECT_GE(s.IniDokumentNumFFTPoints, 0);
        EXPECT_EQ(s.m_wp[kPlaceMain].showCmd >= 0, true);
    }
}

} // namespace

#include "PlacementUnits.h"

namespace {

TEST(PlacementUnitsTest, RelativeUnitsFollowTheFreeClientArea)
{
    WindowPlacement px;
    px.left = 500, px.top = 0, px.right = 1000, px.bottom = 301;
    const WindowPlacement rel = PlacementUnits::ToRelative(px, 1000, 600);
    EXPECT_EQ(rel.left, 5000);
    EXPECT_EQ(rel.right, 10000);
    EXPECT_EQ(rel.bottom, 5017);   // ceil(301 x 10000 / 600)
    EXPECT_EQ(rel.showCmd, px.showCmd);
    // A window closed in the right half reopens in the right half of a larger area.
    const WindowPlacement big = PlacementUnits::ToPixels(rel, 1600, 900);
    EXPECT_EQ(big.left, 800);
    EXPECT_EQ(big.right, 1600);
    // Odd pixel values move one step toward zero.
    WindowPlacement odd;
    odd.left = 3333, odd.top = -3333, odd.right = 10000, odd.bottom = 1;
    const WindowPlacement p = PlacementUnits::ToPixels(odd, 999, 999);
    EXPECT_EQ(p.left, 332);    // ceil(332.97) = 333 -> 332
    EXPECT_EQ(p.top, -332);    // ceil(-332.97) = -332
    EXPECT_EQ(p.right, 998);   // 999 -> 998
    EXPECT_EQ(p.bottom, 0);    // ceil(0.0999) = 1 -> 0
    // A zero-sized area does not divide by zero.
    EXPECT_EQ(PlacementUnits::ToRelative(px, 0, 0).left, 5000000);
}

} // namespace
