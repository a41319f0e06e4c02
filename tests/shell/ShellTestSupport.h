// Fixture of the shell tests: a program folder with one user profile, scripted
// user-interface services and scripted profile dialogs.
#pragma once

#include "ProfileDialogs.h"
#include "ProgramPaths.h"
#include "ScriptedUiServices.h"
#include "TempDir.h"
#include "TonaroApp.h"

#include <QDir>
#include <QFile>
#include <deque>
#include <memory>

struct ScriptedProfileDialogs : CProfileDialogs {
    std::deque<std::pair<StartChoice, QString>> starts;
    std::deque<int> predefined;
    std::deque<int> school;
    std::deque<QString> saves;
    int nStartShown = 0;

    StartChoice StartProfile(StartChoice, const QString&, QString& strName) override
    {
        ++nStartShown;
        if (starts.empty())
            return StartChoice::Cancelled;
        auto [choice, name] = starts.front();
        starts.pop_front();
        strName = name;
        return choice;
    }
    int PredefinedProfile(int) override { return Pop(predefined); }
    int SchoolStart() override { return Pop(school); }
    bool SaveProfile(QString& strFileName) override
    {
        if (saves.empty())
            return false;
        strFileName = saves.front();
        saves.pop_front();
        return true;
    }
    static int Pop(std::deque<int>& q)
    {
        if (q.empty())
            return -1;
        const int v = q.front();
        q.pop_front();
        return v;
    }
};

class ShellTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        SetUiServices(&m_ui);
        QDir().mkpath(ProgramPaths::InProgramFolder("Profile"));
    }
    void TearDown() override
    {
        m_app.reset();
        SetUiServices(nullptr);
        TempDirTest::TearDown();
    }
    static void WriteProfile(const QString& name, const QByteArray& extra = {}, bool bSchool = false)
    {
        QFile f(ProgramPaths::InProgramFolder("Profile/" + name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("[Allgemein]\nIniAllgemeinStatusbar=1\nIniAllgemeinToolbarNormal=1\n") +
                (bSchool ? "IniAllgemeinGrundschulprofil=1\nIniAllgemeinToolbarSchule=1\n" : "") +
                "[Dokument]\nIniDokumentNumFFTPoints=4096\nIniDokumentPlayFile=Kein File ausgewählt.\n"
                "[MainWindow]\nwp->showCmd=1\nwp->rcNormalPosition.left=10\nwp->rcNormalPosition.top=10\n"
                "wp->rcNormalPosition.right=1210\nwp->rcNormalPosition.bottom=810\n" +
                extra);
    }
    // Starts the program with the user profile "Test" (written first with extra lines).
    CTonaroApp& Start(const QByteArray& extra = {}, bool bSchool = false)
    {
        WriteProfile("TonaroUserProfil-Test.ini", extra, bSchool);
        m_app = std::make_unique<CTonaroApp>();
        m_app->SetProfileDialogs(&m_dialogs);
        EXPECT_TRUE(m_app->InitInstance("Test"));
        return *m_app;
    }

    ScriptedUiServices m_ui;
    ScriptedProfileDialogs m_dialogs;
    std::unique_ptr<CTonaroApp> m_app;
};
