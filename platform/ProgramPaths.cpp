#include "ProgramPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace ProgramPaths {

QString ProgramFolder()
{
    QString folder = qEnvironmentVariable("TONARO_HOME");
    if (folder.isEmpty()) {
        QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
        if (dataHome.isEmpty())
            dataHome = QDir::homePath() + "/.local/share";
        folder = dataHome + "/Tonaro";
    }
    folder = QDir::cleanPath(NormalisedPath(folder));
    QDir().mkpath(folder);
    return folder;
}

QString InProgramFolder(const QString& name)
{
    return ProgramFolder() + "/" + NormalisedPath(name);
}

QString TempFolder()
{
    return QDir::tempPath();
}

QString ShippedFolder()
{
    QStringList candidates;
    if (QCoreApplication::instance())
        candidates << QCoreApplication::applicationDirPath() + "/share/tonaro";
    const QString env = qEnvironmentVariable("TONARO_SHARE");
    if (!env.isEmpty())
        candidates.prepend(env);
    candidates << QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, "tonaro",
                                            QStandardPaths::LocateDirectory);
    for (const QString& c : candidates)
        if (QFileInfo(c).isDir())
            return QDir::cleanPath(c);
    return {};
}

void SeedProgramFolder()
{
    const QString shipped = ShippedFolder();
    if (shipped.isEmpty())
        return;
    const QString target = ProgramFolder();
    for (const char* sub : {"Profile", "help"}) {
        const QString from = shipped + "/" + sub;
        const QString to = target + "/" + sub;
        QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString dest = to + "/" + QDir(from).relativeFilePath(file);
            if (QFileInfo::exists(dest))
                continue;
            QDir().mkpath(QFileInfo(dest).absolutePath());
            QFile::copy(file, dest);
        }
    }
}

QString NormalisedPath(const QString& path)
{
    QString p = path;
    p.replace('\\', '/');
    return p;
}

} // namespace ProgramPaths
