// Tonaro's entry point: seeds the program folder and opens the main window.
#include "ProgramPaths.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tonaro");
    ProgramPaths::SeedProgramFolder();

    QMainWindow frame;
    frame.setWindowTitle("Tonaro");
    frame.setCentralWidget(new QMdiArea(&frame));
    frame.resize(1024, 700);
    frame.show();
    return app.exec();
}
