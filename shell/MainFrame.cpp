#include "MainFrame.h"

#include "ChildFrame.h"
#include "CommandTable.h"
#include "ProgramFlags.h"
#include "TonaroApp.h"
#include "resource_ids.h"

#include <QAction>
#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace {
constexpr const char* kIdProperty = "commandId";
}

CMainFrame::CMainFrame(CTonaroApp& app) : m_app(app), m_pMdi(new QMdiArea(this))
{
    // The icons live in the shell library; a static library's resources must be registered.
    Q_INIT_RESOURCE(tonaro);
    setWindowTitle(QStringLiteral("Tonaro"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/tonaro.svg")));
    m_pMdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pMdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_pMdi);
    BuildActions();
    BuildToolBars();
    BuildStatusBar();
    SetShortMenu(m_app.SchoolProfileOn());
    SetViewHost(this);

    m_pIdleTimer = new QTimer(this);
    m_pIdleTimer->setInterval(100);
    connect(m_pIdleTimer, &QTimer::timeout, this, [this] {
        m_app.OnIdle();
        UpdateCommandUi();
    });
    m_pIdleTimer->start();
}

CMainFrame::~CMainFrame()
{
    m_pIdleTimer->stop();
    if (ViewHost() == this)
        SetViewHost(nullptr);
}

QAction* CMainFrame::MakeAction(int nId, const QString& strText, QObject* parent, bool bAccelerator)
{
    auto* action = new QAction(strText, parent);
    action->setProperty(kIdProperty, nId);
    if (const CommandInfo* info = FindCommand(nId)) {
        if (info->szPrompt && *info->szPrompt)
            action->setStatusTip(QString::fromUtf8(info->szPrompt));
    }
    connect(action, &QAction::triggered, this, [this, nId, bAccelerator] {
        m_app.Execute(nId, bAccelerator);
        UpdateCommandUi();
    });
    m_aActions.emplace_back(action);
    return action;
}

void CMainFrame::BuildActions()
{
    // The accelerator table: window-wide keys that reach the commands whichever child is active.
    for (const Accelerator& a : AcceleratorTable()) {
        QAction* action = MakeAction(a.nId, QString(), this, true);
        action->setShortcut(QKeySequence(a.key));
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        m_aAccelerators.push_back(action);
    }
}

void CMainFrame::BuildToolBars()
{
    auto build = [this](const std::vector<ToolButton>& buttons, int nSize, const QString& strName) {
        auto* bar = new QToolBar(strName, this);
        bar->setObjectName(strName);
        bar->setIconSize(QSize(nSize, nSize));
        bar->setMovable(true);
        for (const ToolButton& b : buttons) {
            if (!b.nId) {
                bar->addSeparator();
                continue;
            }
            QAction* action = MakeAction(b.nId, QString::fromUtf8(b.szToolTip), bar);
            action->setToolTip(QString::fromUtf8(b.szToolTip));
            action->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(QString::fromLatin1(b.szIcon))));
            bar->addAction(action);
        }
        addToolBar(Qt::TopToolBarArea, bar);
        bar->hide();
        return bar;
    };
    // The school bar is made first: the short menu's "Symbolleiste" toggles it.
    m_pSchoolBar = build(SchoolToolBar(), 32, QStringLiteral("ToolBar129"));
    m_pNormalBar = build(NormalToolBar(), 16, QStringLiteral("ToolBar128"));
    if (m_app.IniAllgemeinToolbarNormal) {
        m_pNormalBar->show();
        m_nNormalBarHeight = m_pNormalBar->sizeHint().height();
    }
    if (m_app.IniAllgemeinToolbarSchule) {
        m_pSchoolBar->show();
        m_nSchoolBarHeight = m_pSchoolBar->sizeHint().height();
    }
}

void CMainFrame::BuildStatusBar()
{
    struct PaneDef {
        const char* szIndicator;
        int nWidth;   // pixels; 0 = stretch, -1 = standard
        bool bBorder;
    };
    static const PaneDef kPanes[kPaneCount] = {
        {"", 0, true},          {"Wavefile:", 200, true}, {"Bit", 60, true},   {"kHz", 50, true},
        {" ", 10, false},       {"FFT Punkte:", 100, true}, {" ", 10, false},  {"Abhören läuft ...", 80, true},
        {"Aufnahme läuft...", 85, true}, {" ", 10, false}, {"UF", -1, true},   {"NUM", -1, true},
        {"RF", -1, true},
    };
    QStatusBar* bar = statusBar();
    for (int i = 0; i < kPaneCount; ++i) {
        const PaneDef& p = kPanes[i];
        auto* label = new QLabel(bar);
        label->setObjectName(QStringLiteral("pane%1").arg(i));
        if (i == kPaneMessage) {
            label->setText(QStringLiteral("Bereit"));
            bar->addWidget(label, 1);
        } else {
            if (p.bBorder)
                label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            if (p.nWidth > 0)
                label->setMinimumWidth(p.nWidth);   // wider only where the font needs it
            if (i >= 10) {
                // Lock key states are not readable on every desktop; the panes
                // keep their place and show their names greyed.
                label->setText(QString::fromUtf8(p.szIndicator));
                label->setEnabled(false);
            }
            bar->addPermanentWidget(label);
        }
        m_aPanes[static_cast<std::size_t>(i)] = label;
    }
    connect(bar, &QStatusBar::messageChanged, this, [this](const QString& text) {
        m_aPanes[kPaneMessage]->setText(text.isEmpty() ? QStringLiteral("Bereit") : text);
    });
    if (m_app.IniAllgemeinStatusbar)
        m_nStatusBarHeight = bar->sizeHint().height();
    else
        bar->hide();
}

void CMainFrame::SetShortMenu(bool bShort)
{
    m_bShortMenu = bShort;
    auto* bar = new QMenuBar(this);
    for (const MenuDef& def : bShort ? ShortMenu() : FullMenu()) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(def.szTitle));
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUi);
        for (const MenuItem& item : def.items) {
            if (!item.szText)
                menu->addSeparator();
            else
                menu->addAction(MakeAction(item.nId, QString::fromUtf8(item.szText), menu));
        }
    }
    setMenuBar(bar);   // the old bar and its actions go
    UpdateCommandUi();
}

QMenu* CMainFrame::WindowMenu() const
{
    QMenuBar* bar = menuBar();
    const QList<QAction*> menus = bar->actions();
    const int index = menus.size() <= 5 ? 3 : 5;
    return index < menus.size() ? menus[index]->menu() : nullptr;
}

QStringList CMainFrame::WindowMenuTexts() const
{
    QStringList texts;
    if (QMenu* menu = WindowMenu())
        for (QAction* a : menu->actions())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return texts;
}

void CMainFrame::AppendWindowMenuEntry(int nCommand, const QString& strText)
{
    if (QMenu* menu = WindowMenu())
        menu->addAction(MakeAction(nCommand, strText, menu));
}

CProfileSettings& CMainFrame::Settings()
{
    return m_app;
}

void CMainFrame::RemoveWindowMenuEntry(int nCommand)
{
    QMenu* menu = WindowMenu();
    if (!menu)
        return;
    for (QAction* a : menu->actions()) {
        if (a->property(kIdProperty).toInt() == nCommand && nCommand != Res::kCmdRaiseOverview) {
            menu->removeAction(a);
            delete a;
            return;
        }
    }
}

std::vector<QAction*> CMainFrame::ActionsOf(int nId) const
{
    std::vector<QAction*> found;
    for (const QPointer<QAction>& a : m_aActions)
        if (a && a->property(kIdProperty).toInt() == nId)
            found.push_back(a);
    return found;
}

QAction* CMainFrame::MenuAction(int nId) const
{
    for (QAction* top : menuBar()->actions())
        if (QMenu* menu = top->menu())
            for (QAction* a : menu->actions())
                if (a->property(kIdProperty).toInt() == nId)
                    return a;
    return nullptr;
}

QAction* CMainFrame::AcceleratorAction(int nId) const
{
    for (QAction* a : m_aAccelerators)
        if (a->property(kIdProperty).toInt() == nId)
            return a;
    return nullptr;
}

void CMainFrame::UpdateCommandUi()
{
    std::erase_if(m_aActions, [](const QPointer<QAction>& a) { return a.isNull(); });
    for (const QPointer<QAction>& a : m_aActions) {
        const int id = a->property(kIdProperty).toInt();
        const CommandState state = m_app.State(id);
        a->setEnabled(state.bEnabled);
        if (state.bChecked && !a->isCheckable())
            a->setCheckable(true);
        if (a->isCheckable())
            a->setChecked(state.bChecked);
    }
}

void CMainFrame::BeforeBarChange()
{
    // Each open frame keeps its fractions of the free area while the area changes.
    for (QMdiSubWindow* w : m_pMdi->subWindowList())
        if (auto* frame = dynamic_cast<CChildFrame*>(w))
            frame->StorePlacement();
}

void CMainFrame::AfterBarChange()
{
    if (layout())
        layout()->activate();
    m_app.RelayoutAllWindows(true, true);
}

void CMainFrame::ToggleStatusBar()
{
    BeforeBarChange();
    const bool show = statusBar()->isHidden();
    statusBar()->setVisible(show);
    m_app.IniAllgemeinStatusbar = show ? 1 : 0;
    m_nStatusBarHeight = show ? statusBar()->sizeHint().height() : 0;
    AfterBarChange();
    if (show && m_app.m_pDoc)
        m_app.m_pDoc->UpdateStatus();
}

void CMainFrame::ToggleNormalBar()
{
    BeforeBarChange();
    const bool show = m_pNormalBar->isHidden();
    m_pNormalBar->setVisible(show);
    m_app.IniAllgemeinToolbarNormal = show ? 1 : 0;
    m_nNormalBarHeight = show ? m_pNormalBar->sizeHint().height() : 0;
    AfterBarChange();
}

void CMainFrame::ToggleSchoolBar()
{
    BeforeBarChange();
    const bool show = m_pSchoolBar->isHidden();
    m_pSchoolBar->setVisible(show);
    m_app.IniAllgemeinToolbarSchule = show ? 1 : 0;
    m_nSchoolBarHeight = show ? m_pSchoolBar->sizeHint().height() : 0;
    AfterBarChange();
}

void CMainFrame::ToggleFirstToolBar()
{
    // The framework's plain toggle of the first bar: no setting, no height.
    m_pSchoolBar->setVisible(m_pSchoolBar->isHidden());
}

void CMainFrame::ShowBars(bool bNormal, bool bSchool, bool bStatus)
{
    m_pNormalBar->setVisible(bNormal);
    m_pSchoolBar->setVisible(bSchool);
    statusBar()->setVisible(bStatus);
    m_nNormalBarHeight = bNormal ? m_pNormalBar->sizeHint().height() : 0;
    m_nSchoolBarHeight = bSchool ? m_pSchoolBar->sizeHint().height() : 0;
    m_nStatusBarHeight = bStatus ? statusBar()->sizeHint().height() : 0;
    if (layout())
        layout()->activate();
}

QSize CMainFrame::FreeClientArea()
{
    if (layout())
        layout()->activate();
    const QSize s = m_pMdi->viewport()->size();
    return {std::max(s.width(), 1), std::max(s.height(), 1)};
}

WindowPlacement CMainFrame::CurrentPlacement() const
{
    WindowPlacement wp = m_app.m_wp[kPlaceMain];
    const QRect r = normalGeometry().isValid() ? normalGeometry() : geometry();
    wp.left = r.x();
    wp.top = r.y();
    wp.right = r.x() + r.width();
    wp.bottom = r.y() + r.height();
    wp.showCmd = isMaximized() ? kShowMaximised : isMinimized() ? kShowMinimised : kShowNormal;
    return wp;
}

void CMainFrame::ApplyPlacement(const WindowPlacement& wp, bool bForceMaximised)
{
    const int w = wp.right - wp.left, h = wp.bottom - wp.top;
    if (w >= 200 && h >= 150)
        setGeometry(wp.left, wp.top, w, h);
    else
        resize(1024, 700);   // the default placement is a 10 x 10 rectangle
    if (bForceMaximised || wp.showCmd == kShowMaximised)
        showMaximized();
    else if (wp.showCmd == kShowMinimised)
        showMinimized();
    else
        show();
}

void CMainFrame::OnStatusFFTPoints(int nPoints)
{
    m_aPanes[kPaneFFT]->setText(nPoints ? QStringLiteral("FFT Punkte: %1").arg(nPoints) : QString());
}

void CMainFrame::OnStatusFileName(const QString& strFileName)
{
    const int slash = std::max(strFileName.lastIndexOf('\\'), strFileName.lastIndexOf('/'));
    m_aPanes[kPaneFile]->setText(QStringLiteral("File: ") + strFileName.mid(slash + 1));
}

void CMainFrame::OnStatusBits(int nBits)
{
    m_aPanes[kPaneBits]->setText(nBits ? QStringLiteral("Mono: %1-Bit").arg(nBits) : QString());
}

void CMainFrame::OnStatusRate(int nRateHz)
{
    m_aPanes[kPaneRate]->setText(nRateHz ? QStringLiteral("%1 kHz").arg(nRateHz / 1000) : QString());
}

void CMainFrame::OnStatusListening()
{
    m_aPanes[kPaneListen]->setText(g_bListening ? QStringLiteral("Abhören läuft...") : QString());
}

void CMainFrame::OnStatusRecording()
{
    m_aPanes[kPaneRecord]->setText(g_bRecording ? QStringLiteral("Aufnahme läuft...") : QString());
}

QString CMainFrame::PaneText(int nPane) const
{
    return nPane >= 0 && nPane < kPaneCount ? m_aPanes[static_cast<std::size_t>(nPane)]->text() : QString();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    m_app.m_wp[kPlaceMain] = CurrentPlacement();
    m_pIdleTimer->stop();
    QMainWindow::closeEvent(event);
}
