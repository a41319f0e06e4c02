// The profile's sound file is opened when the profile is applied.
#include "MainFrame.h"
#include "ProgramFlags.h"
#include "RiffWaveFile.h"
#include "ShellTestSupport.h"
#include "TonaroDoc.h"

#include <QFileInfo>

namespace {

class ProfileSoundTest : public ShellTest {
protected:
    // Writes the user profile "Test" with the given play file and starts with it.
    CTonaroApp& StartWithPlayFile(const QString& strPlayFile)
    {
        QFile f(ProgramPaths::InProgramFolder("Profile/TonaroUserProfil-Test.ini"));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Allgemein]\nIniAllgemeinStatusbar=1\nIniAllgemeinToolbarNormal=1\n"
                "[Dokument]\nIniDokumentNumFFTPoints=4096\nIniDokumentPlayFile=" +
                strPlayFile.toUtf8() + "\n");
        f.close();
        m_app = std::make_unique<CTonaroApp>();
        m_app->SetProfileDialogs(&m_dialogs);
        EXPECT_TRUE(m_app->InitInstance("Test"));
        return *m_app;
    }
    void TearDown() override
    {
        ShellTest::TearDown();
        ResetProgramFlags();
    }
};

TEST_F(ProfileSoundTest, TheProfilesWaveFileIsLoaded)
{
    const QString path = QPathOf("Klänge/Ton A.wav");
    QDir().mkpath(QFileInfo(path).absolutePath());
    {
        CRiffWaveFile file;
        const WaveFormat format = WaveFormat::Pcm(1, 22050, 16);
        ASSERT_EQ(file.Open(path.toStdString(), &format, CRiffWaveFile::kModeWrite), S_OK);
        std::vector<uint8_t> data(4410, 0);
        uint32_t written = 0;
        ASSERT_EQ(file.Write(static_cast<uint32_t>(data.size()), data.data(), &written), S_OK);
        ASSERT_EQ(file.Close(), S_OK);
    }
    CTonaroApp& app = StartWithPlayFile(path);
    EXPECT_TRUE(g_bWaveLoaded);
    EXPECT_EQ(app.m_pDoc->m_nSampleRate, 22050);
    EXPECT_EQ(app.m_pDoc->NumSamples(), 2205);
    EXPECT_EQ(app.m_pDoc->GetTitle(), "Ton A.wav");
    EXPECT_EQ(app.m_pMainFrame->PaneText(kPaneFile), "File: Ton A.wav");
    EXPECT_EQ(app.m_pMainFrame->PaneText(kPaneRate), "22 kHz");
}

TEST_F(ProfileSoundTest, AMissingPlayFileIsReportedAndNothingIsLoaded)
{
    CTonaroApp& app = StartWithPlayFile(QPathOf("weg.wav"));
    EXPECT_FALSE(g_bWaveLoaded);
    EXPECT_EQ(app.m_pDoc->GetTitle(), CTonaroDoc::kNoFileTitle);
    EXPECT_EQ(app.m_pDoc->m_strFileName, CTonaroDoc::kNoFile);
    EXPECT_TRUE(m_ui.MessageTexts().contains(
        "Die in diesem Profil abgelegte Datei konnte nicht gefunden werden.\n"
        "Bitte benutzen Sie den Wave-Öffnen Dialog im Menü Datei."));
}

} // namespace
