// The built-in help viewer: the German help pages (HTML files in the help
// folder) in a browser, with a contents list and a keyword index beside it.
// One window for the whole program, made on first use.
#pragma once

#include <QString>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;

class CHelpWindow : public QWidget {
public:
    explicit CHelpWindow(const QString& strFolder, QWidget* pParent = nullptr);

    // Shows page ("html/Hauptfenster.html"); false when the file is missing.
    bool ShowPage(const QString& strPage);
    void ShowContentsPane();
    void ShowIndexPane();

    QTextBrowser* Browser() const { return m_pBrowser; }
    QTabWidget* Panes() const { return m_pPanes; }
    QListWidget* Contents() const { return m_pContents; }
    QListWidget* Index() const { return m_pIndex; }
    // Page shown now, relative to the help folder ("html/Vorwort.html").
    QString CurrentPage() const;

private:
    void FillIndex();
    void FilterIndex(const QString& text);

    QString m_strFolder;   // folder that holds "html/"
    QTextBrowser* m_pBrowser;
    QTabWidget* m_pPanes;
    QListWidget* m_pContents;
    QListWidget* m_pIndex;
    QLineEdit* m_pIndexFilter;
};

namespace Help {
// Folder of the help pages: "help" in the program folder, else the shipped one.
QString Folder();
// The help window, made on first use; nullptr when no help pages exist.
CHelpWindow* Window();
// A window's help page; nothing happens (and false) when the page is missing.
bool ShowPage(const QString& strPage);
// "Tonaro Hilfe": contents pane, then the foreword.
bool ShowContents();
// "Tonaro Hilfeindex": the foreword, then the index pane.
bool ShowIndex();
} // namespace Help
