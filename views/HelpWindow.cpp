#include "HelpWindow.h"

#include "ProgramPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QRegularExpression>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>

#include <algorithm>
#include <QVBoxLayout>

namespace {
struct ContentsEntry {
    const char* m_pszPage;
    const char* m_pszTitle;
};
// Order of the contents pane.
const ContentsEntry kContents[] = {
    {"html/Vorwort.html", "Vorwort"},
    {"html/Hauptfenster.html", "Hauptfenster: Übersicht und Waveansicht"},
    {"html/Sonogrammdarstellung.html", "Sonogramm"},
    {"html/Zeitreihendarstellung.html", "Zeitreihe"},
    {"html/Zeitreihenanalysefenster.html", "Zeitreihenanalyse"},
    {"html/NotenbildundObertonspektrum.html", "Notenbild und Obertonspektrum"},
    {"html/DreidimensionaleFouriertransformationsdarstellung.html", "3D FFT"},
    {"html/Rekonstruktionsfenster.html", "3D Rekonstruktion"},
};

QPointer<CHelpWindow> g_pHelpWindow;
} // namespace

CHelpWindow::CHelpWindow(const QString& strFolder, QWidget* pParent) : QWidget(pParent, Qt::Window), m_strFolder(strFolder)
{
    setObjectName(QStringLiteral("TonaroHelp"));
    setWindowTitle(QStringLiteral("Tonaro Hilfe"));
    // An open help window must not keep the program running after the main window closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(900, 650);
    m_pBrowser = new QTextBrowser;
    m_pBrowser->setSearchPaths({m_strFolder});
    m_pBrowser->setOpenExternalLinks(true);

    m_pPanes = new QTabWidget;
    m_pContents = new QListWidget;
    for (const ContentsEntry& e : kContents) {
        if (!QFileInfo::exists(m_strFolder + QLatin1Char('/') + QLatin1String(e.m_pszPage)))
            continue;
        auto* item = new QListWidgetItem(QString::fromUtf8(e.m_pszTitle), m_pContents);
        item->setData(Qt::UserRole, QString::fromLatin1(e.m_pszPage));
    }
    auto* indexPane = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPane);
    indexLayout->setContentsMargins(0, 0, 0, 0);
    m_pIndexFilter = new QLineEdit;
    m_pIndexFilter->setPlaceholderText(QStringLiteral("Suchwort eingeben"));
    m_pIndex = new QListWidget;
    indexLayout->addWidget(m_pIndexFilter);
    indexLayout->addWidget(m_pIndex);
    FillIndex();
    m_pPanes->addTab(m_pContents, QStringLiteral("Inhalt"));
    m_pPanes->addTab(indexPane, QStringLiteral("Index"));

    auto open = [this](QListWidgetItem* item) { ShowPage(item->data(Qt::UserRole).toString()); };
    connect(m_pContents, &QListWidget::itemActivated, this, open);
    connect(m_pContents, &QListWidget::itemClicked, this, open);
    connect(m_pIndex, &QListWidget::itemActivated, this, open);
    connect(m_pIndex, &QListWidget::itemClicked, this, open);
    connect(m_pIndexFilter, &QLineEdit::textChanged, this, [this](const QString& t) { FilterIndex(t); });

    auto* splitter = new QSplitter;
    splitter->addWidget(m_pPanes);
    splitter->addWidget(m_pBrowser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({250, 650});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
}

void CHelpWindow::FillIndex()
{
    // Keywords come from each page's <meta name="keywords" content="a, b, c">.
    static const QRegularExpression meta(QStringLiteral("<meta\\s+name=\"keywords\"\\s+content=\"([^\"]*)\""),
                                         QRegularExpression::CaseInsensitiveOption);
    QList<QPair<QString, QString>> entries;
    for (const ContentsEntry& e : kContents) {
        QFile file(m_strFolder + QLatin1Char('/') + QLatin1String(e.m_pszPage));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString html = QString::fromUtf8(file.read(64 * 1024));
        const QRegularExpressionMatch m = meta.match(html);
        if (!m.hasMatch())
            continue;
        for (const QString& word : m.captured(1).split(QLatin1Char(','), Qt::SkipEmptyParts))
            entries.append({word.trimmed(), QString::fromLatin1(e.m_pszPage)});
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return QString::localeAwareCompare(a.first, b.first) < 0;
    });
    for (const auto& [word, page] : entries) {
        auto* item = new QListWidgetItem(word, m_pIndex);
        item->setData(Qt::UserRole, page);
    }
}

void CHelpWindow::FilterIndex(const QString& text)
{
    for (int i = 0; i < m_pIndex->count(); ++i) {
        QListWidgetItem* item = m_pIndex->item(i);
        item->setHidden(!text.isEmpty() && !item->text().startsWith(text, Qt::CaseInsensitive));
    }
}

bool CHelpWindow::ShowPage(const QString& strPage)
{
    const QString path = m_strFolder + QLatin1Char('/') + strPage;
    if (!QFileInfo::exists(path))
        return false;
    m_pBrowser->setSource(QUrl::fromLocalFile(path));
    show();
    raise();
    activateWindow();
    return true;
}

QString CHelpWindow::CurrentPage() const
{
    const QString local = m_pBrowser->source().toLocalFile();
    return QDir(m_strFolder).relativeFilePath(local);
}

void CHelpWindow::ShowContentsPane()
{
    m_pPanes->setCurrentIndex(0);
    show();
}

void CHelpWindow::ShowIndexPane()
{
    m_pPanes->setCurrentIndex(1);
    m_pIndexFilter->setFocus();
    show();
}

namespace Help {

QString Folder()
{
    const QString own = ProgramPaths::InProgramFolder(QStringLiteral("help"));
    if (QFileInfo::exists(own + QStringLiteral("/html/Vorwort.html")))
        return own;
    const QString shipped = ProgramPaths::ShippedFolder();
    if (!shipped.isEmpty() && QFileInfo::exists(shipped + QStringLiteral("/help/html/Vorwort.html")))
        return shipped + QStringLiteral("/help");
    return {};
}

CHelpWindow* Window()
{
    if (!g_pHelpWindow) {
        const QString folder = Folder();
        if (folder.isEmpty())
            return nullptr;
        g_pHelpWindow = new CHelpWindow(folder);
        g_pHelpWindow->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    return g_pHelpWindow;
}

bool ShowPage(const QString& strPage)
{
    if (strPage.isEmpty())
        return false;
    CHelpWindow* w = Window();
    return w && w->ShowPage(strPage);
}

bool ShowContents()
{
    CHelpWindow* w = Window();
    if (!w)
        return false;
    w->ShowContentsPane();
    return w->ShowPage(QStringLiteral("html/Vorwort.html"));
}

bool ShowIndex()
{
    CHelpWindow* w = Window();
    if (!w)
        return false;
    const bool shown = w->ShowPage(QStringLiteral("html/Vorwort.html"));
    w->ShowIndexPane();
    return shown;
}

} // namespace Help
