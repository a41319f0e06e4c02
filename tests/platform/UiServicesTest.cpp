// The scripted services tests use (queues, defaults, records), the process-wide
// accessor, the counted wait cursor, and the Qt services' message box and beep.
#include "QtPrinters.h"
#include "QtUiServices.h"
#include "ScriptedUiServices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Runs act on the modal dialog of type T once it is shown, again on every tick
// until act returns true; a dialog still open after five seconds is rejected
// so a test cannot hang.
template <typename T, typename Act>
void WhenModal(Act act)
{
    auto* timer = new QTimer;
    auto* waited = new QElapsedTimer;
    waited->start();
    QObject::connect(timer, &QTimer::timeout, [timer, waited, act] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<T*>(modal);
        if (dialog && dialog->isVisible()) {
            if (!act(dialog))
                return;
        } else if (waited->elapsed() > 5000) {
            if (auto* d = qobject_cast<QDialog*>(modal))
                d->reject();
        } else {
            return;
        }
        timer->stop();
        timer->deleteLater();
        delete waited;
    });
    timer->start(20);
}

TEST(ScriptedUiServices, AnswersFromQueuesThenDefaults)
{
    ScriptedUiServices ui;
    ui.QueueMessageAnswer(IDNO);
    EXPECT_EQ(ui.MessageBox("Frage?", "Tonaro", MsgIcon::Question, MsgButtons::YesNo), IDNO);

    struct Case {
        MsgButtons buttons;
        int answer;
    };
    const Case defaults[] = {
        {MsgButtons::Ok, IDOK},          {MsgButtons::OkCancel, IDOK},
        {MsgButtons::YesNo, IDYES},      {MsgButtons::YesNoCancel, IDYES},
        {MsgButtons::RetryCancel, IDRETRY}, {MsgButtons::AbortRetryIgnore, IDABORT},
    };
    for (const Case& c : defaults)
        EXPECT_EQ(ui.MessageBox("x", "y", MsgIcon::None, c.buttons), c.answer);
    EXPECT_EQ(ui.Message("Fertig"), IDOK);

    const auto boxes = ui.CallsOf(UiCallKind::MessageBox);
    ASSERT_EQ(boxes.size(), 8u);
    EXPECT_FALSE(boxes[0].m_bDefaulted);
    EXPECT_EQ(boxes[0].m_strText, "Frage?");
    EXPECT_EQ(boxes[0].m_eIcon, MsgIcon::Question);
    EXPECT_EQ(boxes[0].m_eButtons, MsgButtons::YesNo);
    EXPECT_TRUE(boxes[1].m_bDefaulted);
    EXPECT_EQ(boxes[7].m_strCaption, "Tonaro");
    EXPECT_EQ(ui.MessageTexts().back(), "Fertig");

    // File dialogs: queued answers in order, then cancel.
    FileDialogRequest req;
    req.m_strTitle = "Bitte Musikstück auswählen";
    req.m_strFilter = "WAV - Standardwavefiles|*.wav|MP3 - MPEG Layer 3 Files|*.mp3|";
    req.m_nFlags = FileDialogFlag::FileMustExist | FileDialogFlag::PathMustExist;
    ui.QueueFile("/tmp/a.mp3", 2);
    ui.QueueFileCancel();
    const FileDialogResult first = ui.OpenFileDialog(req);
    EXPECT_TRUE(first.m_bOk);
    EXPECT_EQ(first.m_strPath, "/tmp/a.mp3");
    EXPECT_EQ(first.m_nFilterIndex, 2);
    EXPECT_FALSE(ui.SaveFileDialog(req).m_bOk);
    EXPECT_FALSE(ui.OpenFileDialog(req).m_bOk);
    const auto opens = ui.CallsOf(UiCallKind::OpenFile);
    ASSERT_EQ(opens.size(), 2u);
    EXPECT_EQ(opens[0].m_fileRequest.m_strTitle, req.m_strTitle);
    EXPECT_EQ(opens[0].m_fileRequest.m_strFilter, req.m_strFilter);
    EXPECT_FALSE(opens[0].m_bDefaulted);
    EXPECT_TRUE(opens[1].m_bDefaulted);
    EXPECT_FALSE(ui.CallsOf(UiCallKind::SaveFile)[0].m_bDefaulted); // the queued cancel

    // Colours.
    ui.QueueColour(MakeColour(1, 2, 3));
    EXPECT_EQ(ui.ChooseColour(0), MakeColour(1, 2, 3));
    EXPECT_EQ(ui.ChooseColour(MakeColour(9, 9, 9)), std::nullopt);
    EXPECT_EQ(ui.CallsOf(UiCallKind::ChooseColour)[1].m_clrInitial, MakeColour(9, 9, 9));

    // Beeps are recorded and return at once.
    EXPECT_TRUE(ui.Beep(440, 50));
    EXPECT_FALSE(ui.Beep(20, 50));
    const auto beeps = ui.CallsOf(UiCallKind::Beep);
    ASSERT_EQ(beeps.size(), 2u);
    EXPECT_EQ(beeps[0].m_nFrequencyHz, 440);
    EXPECT_EQ(beeps[0].m_nDurationMs, 50);
}

TEST(UiServices, WaitCursorIsCountedAndTheAccessorAlwaysAnswers)
{
    // Before anything is installed Ui() works and answers defaults.
    SetUiServices(nullptr);
    EXPECT_EQ(Ui().MessageBox("x", "y", MsgIcon::None, MsgButtons::YesNo), IDYES);
    EXPECT_FALSE(Ui().SaveFileDialog({}).m_bOk);

    ScriptedUiServices ui;
    SetUiServices(&ui);
    EXPECT_EQ(&Ui(), &ui);
    {
        WaitCursorScope outer;
        Ui().BeginWaitCursor();
        EXPECT_EQ(ui.WaitCursorDepth(), 2);
        Ui().EndWaitCursor();
    }
    ui.EndWaitCursor(); // unmatched: ignored
    EXPECT_EQ(ui.WaitCursorDepth(), 0);
    const auto& calls = ui.Calls();
    ASSERT_EQ(calls.size(), 2u); // shown once, hidden once
    EXPECT_EQ(calls[0].m_eKind, UiCallKind::WaitCursorOn);
    EXPECT_EQ(calls[1].m_eKind, UiCallKind::WaitCursorOff);
    SetUiServices(nullptr);
    EXPECT_NE(&Ui(), &ui);
}

TEST(QtUiServices, MessageBoxShowsGermanButtonsAndMapsTheAnswer)
{
    struct Case {
        MsgButtons buttons;
        QStringList texts;
        const char* click; // nullptr: close with Escape
        int answer;
    };
    const Case cases[] = {
        {MsgButtons::YesNo, {"Ja", "Nein"}, "Nein", IDNO},
        {MsgButtons::YesNoCancel, {"Ja", "Nein", "Abbrechen"}, "Ja", IDYES},
        {MsgButtons::OkCancel, {"OK", "Abbrechen"}, nullptr, IDCANCEL},
        {MsgButtons::AbortRetryIgnore, {"Abbrechen", "Wiederholen", "Ignorieren"}, "Ignorieren", IDIGNORE},
        {MsgButtons::RetryCancel, {"Wiederholen", "Abbrechen"}, "Wiederholen", IDRETRY},
        {MsgButtons::Ok, {"OK"}, "OK", IDOK},
    };
    QtUiServices ui;
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.texts.join(',')));
        QStringList seen;
        QString caption;
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            caption = box->windowTitle();
            for (QAbstractButton* b : box->buttons())
                seen << b->text();
            if (!c.click) {
                box->reject();
                return true;
            }
            for (QAbstractButton* b : box->buttons())
                if (b->text() == c.click)
                    b->click();
            return true;
        });
        EXPECT_EQ(ui.MessageBox("Text", "Fehler", MsgIcon::Error, c.buttons), c.answer);
        seen.sort();
        QStringList expected = c.texts;
        expected.sort();
        EXPECT_EQ(seen, expected);
        EXPECT_EQ(caption, "Fehler");
    }
}

TEST(QtUiServices, SaveDialogOffersTheFiltersAndAddsTheChosenFiltersExtension)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString existing = QDir(dir.path()).filePath("bild.svg");
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    FileDialogRequest req;
    req.m_strTitle = "Speichert diese FFT Ansicht...";
    req.m_strFilter = "WMF - Enhanced Metafile|*.wmf|SVG - Vektorgrafik|*.svg|";
    req.m_strDefaultExt = ".wmf";
    req.m_strInitialPath = dir.path();
    req.m_nFlags = FileDialogFlag::OverwritePrompt | FileDialogFlag::NoReadOnlyReturn;

    QStringList filters;
    QString title, suffix, question;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        if (title.isEmpty()) {
            title = dialog->windowTitle();
            filters = dialog->nameFilters();
            suffix = dialog->defaultSuffix();
        }
        // The user picks the second filter and types the name of the existing
        // file without its extension (again while the dialog is still settling
        // and resets the name): the overwrite question must come.
        if (auto* combo = dialog->findChild<QComboBox*>("fileTypeCombo"))
            combo->setCurrentIndex(1);
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        if (!name)
            return false;
        if (name->text() != "bild") {
            name->setText("bild");
            return false;
        }
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            question = box->text();
            box->button(QMessageBox::Yes)->click();
            return true;
        });
        static_cast<QDialog*>(dialog)->accept();
        return true;
    });
    QtUiServices ui;
    const FileDialogResult result = ui.SaveFileDialog(req);
    EXPECT_EQ(title, req.m_strTitle);
    EXPECT_EQ(filters, (QStringList{"WMF - Enhanced Metafile (*.wmf)", "SVG - Vektorgrafik (*.svg)"}));
    EXPECT_EQ(suffix, "wmf");
    EXPECT_TRUE(question.contains("bild.svg")) << qPrintable(question);
    ASSERT_TRUE(result.m_bOk);
    EXPECT_EQ(result.m_nFilterIndex, 2);
    EXPECT_EQ(result.m_strPath, existing) << qPrintable(result.m_strPath);

    // Cancel.
    WhenModal<QFileDialog>([](QFileDialog* dialog) {
        dialog->reject();
        return true;
    });
    EXPECT_FALSE(ui.OpenFileDialog(req).m_bOk);
}

TEST(QtUiServices, BeepBlocksForAboutItsDuration)
{
    QtUiServices ui;
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(ui.Beep(440, 300));
    const qint64 elapsed = timer.elapsed();
    EXPECT_GE(elapsed, 250);
    EXPECT_LT(elapsed, 300 + 5000);

    // Out of range: refused at once.
    timer.restart();
    EXPECT_FALSE(ui.Beep(10, 300));
    EXPECT_FALSE(ui.Beep(40000, 300));
    EXPECT_FALSE(ui.Beep(440, -1));
    EXPECT_LT(timer.elapsed(), 100);
}

} // namespace
