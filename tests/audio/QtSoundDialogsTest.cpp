// The Qt forms of the sound card and wave format dialogs, answered by a user
// simulated from a timer while they run modally.
#include "QtSoundDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs act on the modal dialog once it shows.
void WhenShown(std::function<void(QDialog&)> act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            WhenShown(act);
            return;
        }
        act(*dialog);
    });
}

TEST(QtSoundDialogs, TheFormatDialogEnablesOkOnlyWithASelection)
{
    CQtSoundDialogs dialogs;
    bool bOkEnabledAtFirst = true;
    QString strTitle;
    WhenShown([&](QDialog& d) {
        strTitle = d.windowTitle();
        auto* ok = d.findChild<QPushButton*>("c1");
        bOkEnabledAtFirst = ok->isEnabled();
        d.findChild<QListWidget*>()->setCurrentRow(1);
        ok->click();
    });
    EXPECT_EQ(dialogs.WaveFormatDialog({"44100 Hz, 16-bit Mono", "48000 Hz, 16-bit Mono"}), 1);
    EXPECT_FALSE(bOkEnabledAtFirst);
    EXPECT_EQ(strTitle, "Waveformat");

    WhenShown([](QDialog& d) { d.findChild<QPushButton*>("c2")->click(); });
    EXPECT_EQ(dialogs.WaveFormatDialog({}), -1);
}

TEST(QtSoundDialogs, TheSoundCardDialogStartsOnTheFirstDevicesAndReturnsTheChoice)
{
    CQtSoundDialogs dialogs;
    int nFirstCapture = -1;
    WhenShown([&](QDialog& d) {
        const auto combos = d.findChildren<QComboBox*>();
        ASSERT_EQ(combos.size(), 2);
        nFirstCapture = combos[0]->currentIndex();
        combos[1]->setCurrentIndex(2);
        d.findChild<QPushButton*>("c1")->click();
    });
    const SoundCardAnswer answer = dialogs.SoundCardDialog({"Mikrofon", "Line"}, {"A", "B", "C"});
    EXPECT_TRUE(answer.m_bOk);
    EXPECT_EQ(nFirstCapture, 0);
    EXPECT_EQ(answer.m_nCapture, 0);
    EXPECT_EQ(answer.m_nPlayback, 2);
}

} // namespace
