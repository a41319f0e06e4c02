#include "SplitterFrame.h"

#include "TonaroDoc.h"
#include "TonaroOverView.h"
#include "TonaroView.h"
#include "MainFrame.h"
#include "TonaroApp.h"
#include "WindowPlacement.h"
#include "resource_ids.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QSplitter>

CSplitterFrame::CSplitterFrame(CMainFrame* pMainFrame, CTonaroDoc* pDoc)
    : CChildFrame(pMainFrame, kPlaceUebersicht, Res::kBarWave, pDoc ? pDoc->GetTitle() : QString())
{
    // The main wave window is never closed; it only changes size.
    setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint);
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_pSplitter = new QSplitter(Qt::Vertical);
    m_pOverView = new CTonaroOverView(pDoc, m_pSplitter);
    m_pWaveView = new CTonaroView(pDoc, m_pSplitter);
    m_pSplitter->addWidget(m_pOverView);
    m_pSplitter->addWidget(m_pWaveView);
    SetView(m_pSplitter);
    const int h = height();
    m_pSplitter->setSizes({static_cast<int>(h * 0.16666667), h - static_cast<int>(h * 0.16666667)});
    m_pWaveView->setFocus();
    ConnectDialogBar();
}

void CSplitterFrame::ConnectDialogBar()
{
    m_pOverView->SetWaveView(m_pWaveView);
    QPointer<CMainFrame> mainFrame = m_pMainFrame;
    m_pOverView->SetSchoolProfileQuery([mainFrame] { return mainFrame && mainFrame->App().SchoolProfileOn(); });
    QWidget* bar = DialogBar();
    if (!bar)
        return;
    if (auto* samples = bar->findChild<QLineEdit*>(QStringLiteral("c1099"))) {
        QPointer<QLineEdit> field = samples;
        auto show = [field](const QString& text) {
            if (field)
                field->setText(text);
        };
        m_pOverView->SetSamplesSink(show);
        m_pWaveView->SetSamplesSink(show);
    }
    if (auto* zoom = bar->findChild<QSlider*>(QStringLiteral("c1046")))
        connect(zoom, &QSlider::valueChanged, this, [this](int pos) {
            m_pOverView->SetHorizontalZoomPosition(pos);
            m_pWaveView->SetHorizontalZoomPosition(pos);
        });
    if (auto* amp = bar->findChild<QSlider*>(QStringLiteral("c1047")))
        connect(amp, &QSlider::valueChanged, this, [this](int pos) { m_pOverView->SetVerticalZoomPosition(pos); });
    if (auto* amp = bar->findChild<QSlider*>(QStringLiteral("c1048")))
        connect(amp, &QSlider::valueChanged, this, [this](int pos) { m_pWaveView->SetVerticalZoomPosition(pos); });
    if (auto* precision = bar->findChild<QSpinBox*>(QStringLiteral("c1106")))
        connect(precision, &QSpinBox::valueChanged, this, [this](int value) { m_pWaveView->SetPrecision(value); });
    if (auto* samplesMode = bar->findChild<QRadioButton*>(QStringLiteral("c1184")))
        connect(samplesMode, &QRadioButton::toggled, this, [this](bool on) { m_pWaveView->SetDisplayMode(on ? 1 : 0); });
    if (auto* edit = bar->findChild<QPushButton*>(QStringLiteral("c1183")))
        connect(edit, &QPushButton::clicked, this, [this] { m_pWaveView->OpenEnvelopeEditor(); });
}

void CSplitterFrame::SetPaneLayout(bool bSchool)
{
    const int total = std::max(m_pSplitter->height(), 2);
    if (bSchool) {
        m_pOverView->setMinimumHeight(100);
        m_pWaveView->setMinimumHeight(0);
        m_pSplitter->setStretchFactor(0, 1);
        m_pSplitter->setStretchFactor(1, 0);
        m_pSplitter->setSizes({std::max(total - 1, 200), 1});
    } else {
        m_pOverView->setMinimumHeight(50);
        m_pWaveView->setMinimumHeight(50);
        m_pSplitter->setStretchFactor(0, 0);
        m_pSplitter->setStretchFactor(1, 1);
        m_pSplitter->setSizes({50, std::max(total - 50, 100)});
    }
}
