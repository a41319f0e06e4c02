// Tonaro's entry point: the command line, the program folder, the user-interface
// services and the application object's start-up and exit.
#include "ProgramPaths.h"
#include "TonaroApp.h"
#include "TonaroUiServices.h"

#include <QApplication>
#include <QTextStream>

namespace {

const char* const kUsage =
    "Aufruf: tonaro [Grundschule | <Name eines eigenen Profils>]\n"
    "\n"
    "Ohne Angabe fragt Tonaro beim Start, mit welchem Profil es beginnen soll.\n"
    "  Grundschule   startet mit dem Grundschulprofil\n"
    "  <Name>        startet mit dem eigenen Profil Profile/TonaroUserProfil-<Name>.ini\n"
    "  --help        zeigt diesen Text\n"
    "  --version     zeigt die Version\n";

} // namespace

int main(int argc, char** argv)
{
    // The command line is read before any window system is needed.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        QTextStream(stdout) << QString::fromUtf8(kUsage);
        return 0;
    }
    if (args.contains(QStringLiteral("--version"))) {
        QTextStream(stdout) << "Tonaro " << TONARO_VERSION << "\n";
        return 0;
    }
    if (args.size() > 1 || (!args.isEmpty() && args[0].startsWith(QLatin1Char('-')))) {
        QTextStream(stderr) << QString::fromUtf8(kUsage);
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tonaro"));
    QApplication::setApplicationVersion(QStringLiteral(TONARO_VERSION));

    ProgramPaths::SeedProgramFolder();
    CTonaroUiServices ui;
    SetUiServices(&ui);

    int result = 0;
    {
        CTonaroApp theApp;
        if (theApp.InitInstance(args.value(0))) {
            result = app.exec();
        }
        theApp.ExitInstance();
    }
    SetUiServices(nullptr);
    return result;
}
