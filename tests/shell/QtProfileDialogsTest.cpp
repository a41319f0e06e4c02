// The Qt start and save dialogs of the profiles, driven through their controls.
#include "QtProfileDialogs.h"
#include "ShellTestSupport.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace {

class QtProfileDialogsTest : public ShellTest {
protected:
    // The next dialog runs fnAct on its controls once it is shown, then its
    // button (buttonOk or buttonCancel) is clicked.
    void Answer(std::function<void(QDialog*)> fnAct, const char* szButton = "buttonOk")
    {
        m_qt.m_fnPrepare = [this, fnAct, szButton](QDialog* pDialog) {
            m_strShown = pDialog->objectName();
            QTimer::singleShot(0, pDialog, [pDialog, fnAct, szButton] {
                if (fnAct)
                    fnAct(pDialog);
                pDialog->findChild<QAbstractButton*>(szButton)->click();
            });
        };
    }
    static void Click(QDialog* pDialog, const char* szName)
    {
        pDialog->findChild<QAbstractButton*>(szName)->click();
    }

    CQtProfileDialogs m_qt;
    QString m_strShown;
};

TEST_F(QtProfileDialogsTest, StartDialogAnswersTheChosenWay)
{
    QString name;
    Answer([](QDialog* d) { Click(d, "radioLastUsed"); });
    EXPECT_EQ(m_qt.StartProfile(CProfileDialogs::StartChoice::Predefined, Dir(), name),
              CProfileDialogs::StartChoice::LastUsed);
    EXPECT_EQ(m_strShown, "c187");

    Answer({});   // opened at the current choice
    EXPECT_EQ(m_qt.StartProfile(CProfileDialogs::StartChoice::Predefined, Dir(), name),
              CProfileDialogs::StartChoice::Predefined);

    Answer({}, "buttonCancel");
    EXPECT_EQ(m_qt.StartProfile(CProfileDialogs::StartChoice::Predefined, Dir(), name),
              CProfileDialogs::StartChoice::Cancelled);
}

TEST_F(QtProfileDialogsTest, StartDialogOffersTheStoredUserProfiles)
{
    const QString folder = ProgramPaths::InProgramFolder("Profile");
    WriteProfile("TonaroUserProfil-Anna.ini");
    WriteProfile("TonaroUserProfil-Ben.ini");
    QStringList offered;
    QString name;
    Answer([&offered](QDialog* d) {
        Click(d, "radioUser");
        auto* list = d->findChild<QComboBox*>("comboUser");
        list->hidePopup();
        for (int i = 0; i < list->count(); ++i)
            offered << list->itemText(i);
        list->setCurrentIndex(list->findText("Ben"));
    });
    EXPECT_EQ(m_qt.StartProfile(CProfileDialogs::StartChoice::Predefined, folder, name),
              CProfileDialogs::StartChoice::UserProfile);
    EXPECT_EQ(offered, (QStringList{"Anna", "Ben"}));
    EXPECT_EQ(name, "Ben");
}

TEST_F(QtProfileDialogsTest, PredefinedSchoolAndSaveDialogs)
{
    Answer([](QDialog* d) { Click(d, "profile4"); });
    EXPECT_EQ(m_qt.PredefinedProfile(0), 4);
    EXPECT_EQ(m_strShown, "c185");
    Answer({});   // OK without a new choice keeps the current profile
    EXPECT_EQ(m_qt.PredefinedProfile(2), 2);
    Answer({}, "buttonCancel");
    EXPECT_EQ(m_qt.PredefinedProfile(2), -1);

    Answer({});
    EXPECT_EQ(m_qt.SchoolStart(), 1);   // a music file is preselected
    EXPECT_EQ(m_strShown, "c212");
    Answer([](QDialog* d) { Click(d, "radioMicrophone"); });
    EXPECT_EQ(m_qt.SchoolStart(), 0);

    QString file = "TonaroUserProfil-Anna.ini";
    QString shownName;
    Answer([&shownName](QDialog* d) {
        auto* edit = d->findChild<QLineEdit*>("editName");
        shownName = edit->text();
        edit->setText("Klasse 7b");
    });
    EXPECT_TRUE(m_qt.SaveProfile(file));
    EXPECT_EQ(m_strShown, "c192");
    EXPECT_EQ(shownName, "Anna");
    EXPECT_EQ(file, "TonaroUserProfil-Klasse 7b.ini");
}

} // namespace
