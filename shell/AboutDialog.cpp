#include "AboutDialog.h"

#include "ProgramPictures.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

void ShowAboutDialog(QWidget* pParent)
{
    QDialog dialog(pParent);
    dialog.setObjectName(QStringLiteral("c100"));
    dialog.setWindowTitle(QStringLiteral("Info über Tonaro"));
    auto* layout = new QHBoxLayout(&dialog);
    auto* picture = new QLabel(&dialog);
    picture->setPixmap(ProgramPicture(193, QSize(96, 96)));
    layout->addWidget(picture, 0, Qt::AlignTop);
    auto* column = new QVBoxLayout;
    column->addWidget(new QLabel(QStringLiteral("<b>Tonaro</b> Version %1<br>Klanganalyse für Schule, Musik und "
                                                "Wissenschaft.<br><br>Spektrum, Sonogramm, 3D-Tonlandschaft, "
                                                "Notenbild, Zeitreihen-, Wavelet- und nichtlineare Analyse.")
                                     .arg(QCoreApplication::applicationVersion()),
                                 &dialog));
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    column->addWidget(buttons);
    layout->addLayout(column);
    dialog.exec();
}
