// The Qt forms of the import: the wave parameter dialog's states for mono,
// stereo and too wide files, and the progress window's text and place.
#include "ProgressWindow.h"
#include "WaveParameterDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

TEST(ImportDialogs, WaveParameterDialogOffersWhatTheFileAllows)
{
    struct Case {
        QString channels;
        int nBits;
        bool bChoice;      // radio buttons enabled, "Links" selected
        bool bOk;
        QString hintStart;
    };
    const std::vector<Case> cases = {
        {"Stereo", 16, true, true, "Hinweis: Dies ist ein Stereo-File."},
        {"Mono", 16, false, true, "Hinweis: Alles prima."},
        {"Stereo", 24, true, false, "Problem: Die Auflösung dieser Wavedatei ist mehr als 16-Bit."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hintStart.toStdString());
        const WaveParameterInfo info{"/a/b.wav", c.channels, 44100, c.nBits, "PCM"};
        CWaveParameterDialog dialog(info, nullptr);
        EXPECT_EQ(dialog.windowTitle(), "Waveparameter kontrollieren ...");
        auto* left = dialog.findChild<QRadioButton*>("left");
        auto* right = dialog.findChild<QRadioButton*>("right");
        auto* ok = dialog.findChild<QPushButton*>("ok");
        auto* hint = dialog.findChild<QLabel*>("hint");
        ASSERT_TRUE(left && right && ok && hint);
        EXPECT_EQ(left->isEnabled(), c.bChoice);
        EXPECT_EQ(right->isEnabled(), c.bChoice);
        EXPECT_EQ(left->isChecked(), c.bChoice);
        EXPECT_EQ(ok->isEnabled(), c.bOk);
        EXPECT_TRUE(hint->text().startsWith(c.hintStart));
        EXPECT_EQ(dialog.ChannelChoice(), c.bChoice ? 1 : 0);
        if (c.bChoice) {
            right->setChecked(true);
            EXPECT_EQ(dialog.ChannelChoice(), 0);
        }
    }
}

TEST(ImportDialogs, ProgressWindowStandsLeftOfTheCentreOfTheMainWindow)
{
    QWidget main;
    main.resize(1000, 600);
    CProgressWindow window(&main);
    EXPECT_EQ(window.size(), QSize(200, 100));
    EXPECT_EQ(window.pos(), main.mapToGlobal(QPoint(300, 250)));
    auto* text = window.findChild<QLabel*>("progressText");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(), "Fortschritt");
    window.SetText("Completed 50.00%, elapsed 01 sec.");
    EXPECT_EQ(text->text(), "Completed 50.00%, elapsed 01 sec.");
}
