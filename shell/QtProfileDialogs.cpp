#include "QtProfileDialogs.h"

#include "ProfileSettings.h"
#include "ProgramPictures.h"
#include "UiServices.h"
#include "resource_ids.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString Title()
{
    return QStringLiteral("Willkommen bei Tonaro ...");
}

// OK and "Abbrechen"; OK runs fnOk, which closes the dialog when it returns true.
QDialogButtonBox* OkCancel(QDialog& dialog, std::function<bool()> fnOk = {})
{
    auto* box = new QDialogButtonBox(&dialog);
    QPushButton* ok = box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("buttonOk"));
    ok->setDefault(true);
    box->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole)->setObjectName(
        QStringLiteral("buttonCancel"));
    QObject::connect(box, &QDialogButtonBox::accepted, &dialog, [&dialog, fnOk] {
        if (!fnOk || fnOk())
            dialog.accept();
    });
    QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return box;
}

QLabel* Picture(QDialog& dialog, int nBitmap, int nSize)
{
    auto* label = new QLabel(&dialog);
    label->setPixmap(ProgramPicture(nBitmap, QSize(nSize, nSize)));
    return label;
}

} // namespace

int CQtProfileDialogs::Run(QDialog& dialog)
{
    if (m_fnPrepare)
        m_fnPrepare(&dialog);
    return dialog.exec();
}

CProfileDialogs::StartChoice CQtProfileDialogs::StartProfile(StartChoice eCurrent, const QString& strProfileFolder,
                                                             QString& strName)
{
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("c187"));
    dialog.setWindowTitle(Title());
    auto* layout = new QHBoxLayout(&dialog);
    layout->addWidget(Picture(dialog, Res::kBmpProgram, 96), 0, Qt::AlignTop);
    auto* column = new QVBoxLayout;
    layout->addLayout(column);
    column->addWidget(new QLabel(QStringLiteral("Mit welcher Oberfläche wollen Sie beginnen ?"), &dialog));
    auto* lastUsed = new QRadioButton(QStringLiteral("zuletzt verwendete Einstellungen"), &dialog);
    auto* predefined = new QRadioButton(QStringLiteral("ein vordefiniertes Profil verwenden"), &dialog);
    auto* own = new QRadioButton(QStringLiteral("ein eigenes Profil verwenden"), &dialog);
    lastUsed->setObjectName(QStringLiteral("radioLastUsed"));
    predefined->setObjectName(QStringLiteral("radioPredefined"));
    own->setObjectName(QStringLiteral("radioUser"));
    auto* list = new QComboBox(&dialog);
    list->setObjectName(QStringLiteral("comboUser"));
    list->setEditable(true);
    for (QWidget* w : {static_cast<QWidget*>(lastUsed), static_cast<QWidget*>(predefined),
                       static_cast<QWidget*>(own), static_cast<QWidget*>(list)})
        column->addWidget(w);

    auto fill = [list, strProfileFolder] {
        const QSignalBlocker block(list);
        list->clear();
        list->addItems(CProfileSettings::ListUserProfiles(strProfileFolder));
        list->setEditText(QString());
    };
    (eCurrent == StartChoice::LastUsed ? lastUsed : eCurrent == StartChoice::UserProfile ? own : predefined)
        ->setChecked(true);
    list->setVisible(own->isChecked());
    if (own->isChecked())
        fill();
    QObject::connect(lastUsed, &QRadioButton::toggled, list, [list](bool on) { if (on) list->hide(); });
    QObject::connect(predefined, &QRadioButton::toggled, list, [list](bool on) { if (on) list->hide(); });
    QObject::connect(own, &QRadioButton::toggled, list, [list, fill](bool on) {
        if (!on)
            return;
        list->show();
        fill();
        list->showPopup();
    });
    // Only stored profiles can be chosen; a typed name is answered with a hint.
    QObject::connect(list->lineEdit(), &QLineEdit::textEdited, list, [list, fill] {
        Ui().MessageBox(QStringLiteral(
                            "Bitte wählen Sie ein bereits gespeichertes Profil aus der Dropdownliste aus.\n"
                            "Wenn Sie eine neues Profil erstellen wollen, rufen Sie ein vordefiniertes Profil auf, "
                            "ändern sie die Fenster und Einstellungen und speichern Sie dann das Profil unter dem "
                            "Menüpunkt Einstellungen> Profil speichern."),
                        kProgramCaption, MsgIcon::None, MsgButtons::Ok);
        fill();
        list->showPopup();
    });
    column->addWidget(OkCancel(dialog, [own, list] { return !(own->isChecked() && list->currentText().isEmpty()); }));

    if (Run(dialog) != QDialog::Accepted)
        return StartChoice::Cancelled;
    if (lastUsed->isChecked())
        return StartChoice::LastUsed;
    if (predefined->isChecked())
        return StartChoice::Predefined;
    strName = list->currentText();
    return StartChoice::UserProfile;
}

int CQtProfileDialogs::PredefinedProfile(int nCurrentKind)
{
    struct Choice {
        const char* szCaption;
        int nBitmap;
        int nKind;
    };
    static const Choice kChoices[] = {
        {"Standard", Res::kBmpStandard, kProfileStandard},       {"Musiker", Res::kBmpMusiker, kProfileMusiker},
        {"Analytiker", Res::kBmpAnalytiker, kProfileAnalytiker}, {"Komplett", Res::kBmpKomplett, kProfileKomplett},
        {"Oberschule", Res::kBmpOberschule, kProfileOberschule}, {"Grundschule", Res::kBmpGrundschule, kProfileGrundschule},
    };
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("c185"));
    dialog.setWindowTitle(QStringLiteral("Auswahl eines Standardprofils"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* head = new QHBoxLayout;
    head->addWidget(Picture(dialog, Res::kBmpProgram, 64));
    head->addWidget(new QLabel(QStringLiteral("Welches der vordefinierten Standardprofile\nsoll geöffnet werden ?"),
                               &dialog), 1);
    layout->addLayout(head);
    auto* grid = new QGridLayout;
    auto* group = new QButtonGroup(&dialog);
    for (int i = 0; i < 6; ++i) {
        auto* button = new QToolButton(&dialog);
        button->setObjectName(QStringLiteral("profile%1").arg(kChoices[i].nKind));
        button->setText(QString::fromLatin1(kChoices[i].szCaption));
        button->setIcon(ProgramPicture(kChoices[i].nBitmap, QSize(96, 72)));
        button->setIconSize(QSize(96, 72));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setCheckable(true);
        button->setChecked(kChoices[i].nKind == nCurrentKind);
        group->addButton(button, kChoices[i].nKind);
        grid->addWidget(button, i / 3, i % 3);
    }
    layout->addLayout(grid);
    layout->addWidget(OkCancel(dialog));
    if (Run(dialog) != QDialog::Accepted)
        return -1;
    return group->checkedId() >= 0 ? group->checkedId() : nCurrentKind;
}

int CQtProfileDialogs::SchoolStart()
{
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("c212"));
    dialog.setWindowTitle(Title());
    auto* layout = new QHBoxLayout(&dialog);
    layout->addWidget(Picture(dialog, Res::kBmpProgram, 96), 0, Qt::AlignTop);
    auto* column = new QGridLayout;
    layout->addLayout(column);
    column->addWidget(new QLabel(QStringLiteral("Wie soll es losgehen ?"), &dialog), 0, 0, 1, 2);
    auto* file = new QRadioButton(QStringLiteral("ein Musikstück aussuchen"), &dialog);
    auto* mic = new QRadioButton(QStringLiteral("Musik mit dem Mikrofon aufzeichnen"), &dialog);
    file->setObjectName(QStringLiteral("radioFile"));
    mic->setObjectName(QStringLiteral("radioMicrophone"));
    file->setChecked(true);
    auto explain = [&dialog](const QString& name, const QString& text) {
        auto* button = new QToolButton(&dialog);
        button->setObjectName(name);
        button->setIcon(ProgramPicture(Res::kBmpSchoolChoice, QSize(24, 24)));
        button->setIconSize(QSize(24, 24));
        QObject::connect(button, &QToolButton::clicked, &dialog, [text] {
            Ui().MessageBox(text, kProgramCaption, MsgIcon::Information, MsgButtons::Ok);
        });
        return button;
    };
    column->addWidget(file, 1, 0);
    column->addWidget(explain(QStringLiteral("explainFile"),
                              QStringLiteral("In dieser Einstellung wird eine Musikdatei im WAV-Format,\n deren "
                                             "Name und Ort abgefragt wird, geladen. \nDiese kann dann abgespielt "
                                             "und untersucht werden.")),
                      1, 1);
    column->addWidget(mic, 2, 0);
    column->addWidget(explain(QStringLiteral("explainMicrophone"),
                              QStringLiteral("In dieser Einstellung werden die Töne, die vom Mikrofon kommen, "
                                             "untersucht.\n Dazu muss ein Mikrofon an die Soundkarte des Computers "
                                             "angeschlossen sein.")),
                      2, 1);
    column->addWidget(OkCancel(dialog), 3, 0, 1, 2);
    if (Run(dialog) != QDialog::Accepted)
        return -1;
    return file->isChecked() ? 1 : 0;
}

bool CQtProfileDialogs::SaveProfile(QString& strFileName)
{
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("c192"));
    dialog.setWindowTitle(QStringLiteral("Einstellungen speichern ..."));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(
        new QLabel(QStringLiteral("Bitte geben Sie einen Namen für das zu speichernde Profil an "), &dialog));
    auto* name = new QLineEdit(CProfileSettings::UserProfileName(strFileName), &dialog);
    name->setObjectName(QStringLiteral("editName"));
    auto* file = new QLabel(strFileName, &dialog);
    file->setObjectName(QStringLiteral("textFile"));
    QObject::connect(name, &QLineEdit::textChanged, file,
                     [file](const QString& text) { file->setText(CProfileSettings::UserProfileFile(text)); });
    layout->addWidget(name);
    layout->addWidget(file);
    layout->addWidget(new QLabel(
        QStringLiteral("Gespeichert werden:\n- Art und Position der geöffneten Fenster\n- Parameter der Module"),
        &dialog));
    layout->addWidget(OkCancel(dialog));
    if (Run(dialog) != QDialog::Accepted)
        return false;
    strFileName = file->text();
    return true;
}
