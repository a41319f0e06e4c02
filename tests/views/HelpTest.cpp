// The help pages and the built-in help window: every page a window names
// exists, the window shows it, contents and index lead to the pages.
#include "HelpWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QTabWidget>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace {

QString ShippedHelp()
{
    return QDir::cleanPath(QStringLiteral(TONARO_TEST_DATA) + QStringLiteral("/../../resources/help"));
}

const char* const kPages[] = {"html/Vorwort.html",
                              "html/Hauptfenster.html",
                              "html/Sonogrammdarstellung.html",
                              "html/Zeitreihendarstellung.html",
                              "html/Zeitreihenanalysefenster.html",
                              "html/NotenbildundObertonspektrum.html",
                              "html/DreidimensionaleFouriertransformationsdarstellung.html",
                              "html/Rekonstruktionsfenster.html"};

TEST(HelpWindowTest, EveryWindowPageOpensInTheBrowser)
{
    CHelpWindow help(ShippedHelp());
    EXPECT_EQ(help.Contents()->count(), static_cast<int>(std::size(kPages)));
    for (const char* page : kPages) {
        ASSERT_TRUE(help.ShowPage(QString::fromLatin1(page))) << page;
        EXPECT_EQ(help.CurrentPage(), QString::fromLatin1(page));
        EXPECT_FALSE(help.Browser()->toPlainText().isEmpty()) << page;
    }
    EXPECT_FALSE(help.ShowPage(QStringLiteral("html/Gibtsnicht.html")));
    EXPECT_EQ(help.CurrentPage(), QString::fromLatin1(kPages[std::size(kPages) - 1]));
}

TEST(HelpWindowTest, ContentsAndIndexLeadToPages)
{
    CHelpWindow help(ShippedHelp());
    help.ShowIndexPane();
    EXPECT_EQ(help.Panes()->currentIndex(), 1);
    QList<QListWidgetItem*> markers = help.Index()->findItems(QStringLiteral("Marker"), Qt::MatchExactly);
    ASSERT_EQ(markers.size(), 1);
    emit help.Index()->itemActivated(markers[0]);
    EXPECT_EQ(help.CurrentPage(), "html/Hauptfenster.html");
    help.ShowContentsPane();
    EXPECT_EQ(help.Panes()->currentIndex(), 0);
    emit help.Contents()->itemActivated(help.Contents()->item(2));
    EXPECT_EQ(help.CurrentPage(), "html/Sonogrammdarstellung.html");
}

} // namespace
