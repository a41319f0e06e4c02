// Program folder, shipped files and the seeding of a new program folder.
#include "ProgramPaths.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

class ProgramPathsTest : public TempDirTest {};

void WriteFile(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_F(ProgramPathsTest, ProgramFolderFollowsTonaroHomeAndIsCreated)
{
    const QString home = ProgramPaths::ProgramFolder();
    EXPECT_EQ(home, QPathOf("home"));
    EXPECT_TRUE(QFileInfo(home).isDir());
    EXPECT_EQ(ProgramPaths::InProgramFolder("Profile\\x.ini"), home + "/Profile/x.ini");
}

TEST_F(ProgramPathsTest, WithoutTonaroHomeTheXdgDataFolderIsUsed)
{
    qunsetenv("TONARO_HOME");
    qputenv("XDG_DATA_HOME", QPathOf("xdg").toUtf8());
    EXPECT_EQ(ProgramPaths::ProgramFolder(), QPathOf("xdg/Tonaro"));
    qunsetenv("XDG_DATA_HOME");
}

TEST_F(ProgramPathsTest, SeedingCopiesShippedFilesButKeepsTheUsersOwn)
{
    const QString shipped = QPathOf("share");
    WriteFile(shipped + "/Profile/TonaroStandardProfil.ini", "shipped");
    WriteFile(shipped + "/Profile/TonaroMusikerProfil.ini", "shipped");
    WriteFile(shipped + "/help/html/Vorwort.html", "<html/>");
    WriteFile(QPathOf("home/Profile/TonaroMusikerProfil.ini"), "edited by the user");
    qputenv("TONARO_SHARE", shipped.toUtf8());

    ProgramPaths::SeedProgramFolder();
    qunsetenv("TONARO_SHARE");

    EXPECT_EQ(ReadFile(QPathOf("home/Profile/TonaroStandardProfil.ini")), "shipped");
    EXPECT_EQ(ReadFile(QPathOf("home/Profile/TonaroMusikerProfil.ini")), "edited by the user");
    EXPECT_EQ(ReadFile(QPathOf("home/help/html/Vorwort.html")), "<html/>");
}

} // namespace
