// The FFT window's dialog bar (168): finds its controls by their numbers,
// hands their changes to the plot and shows the settings back.
#include "FFTView.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>

namespace {

QString ControlName(int nId)
{
    return QStringLiteral("c%1").arg(nId);
}

} // namespace

void CFFTView::ConnectDialogBar(QWidget* pBar)
{
    m_pBar = pBar;
    if (!pBar)
        return;
    auto spin = [&](int nId, void (CFFTPlot::*set)(int)) {
        auto* box = pBar->findChild<QSpinBox*>(ControlName(nId));
        if (!box)
            return box;
        box->setKeyboardTracking(false);
        connect(box, &QSpinBox::valueChanged, this, [this, set](int v) {
            (m_plot.*set)(v);
            SyncControls();
            Redraw();
        });
        return box;
    };
    m_pLowHz = spin(1068, &CFFTPlot::SetLowerFrequency);
    m_pTopKHz = spin(1069, &CFFTPlot::SetUpperFrequency);
    m_pUpperDb = spin(1082, &CFFTPlot::SetUpperLevel);
    m_pLowerDb = spin(1083, &CFFTPlot::SetLowerLevel);
    m_pDelay = spin(1087, &CFFTPlot::SetDelayStep);
    m_pPeakDist = spin(1094, &CFFTPlot::SetPeakDistance);
    m_pNeighbour = spin(1096, &CFFTPlot::SetNeighbourDistance);
    m_pCurrentFft = pBar->findChild<QLineEdit*>(ControlName(1076));

    // Radio buttons act when they become checked; check boxes on the user's click.
    auto radio = [&](int nId, auto action) {
        if (auto* button = pBar->findChild<QAbstractButton*>(ControlName(nId)))
            connect(button, &QAbstractButton::toggled, this, [this, action](bool on) {
                if (!on)
                    return;
                action();
                SyncControls();
                Redraw();
            });
    };
    auto check = [&](int nId, auto action) {
        if (auto* button = pBar->findChild<QAbstractButton*>(ControlName(nId)))
            connect(button, &QAbstractButton::clicked, this, [this, action](bool on) {
                action(on);
                SyncControls();
                Redraw();
            });
    };
    radio(1071, [this] { m_plot.SetAmpLinear(true); });
    radio(1072, [this] { m_plot.SetAmpLinear(false); });
    radio(1073, [this] { m_plot.SetFreqLinear(true); });
    radio(1074, [this] { m_plot.SetFreqLinear(false); });
    radio(1078, [this] { m_plot.SetMode(0); });
    radio(1046, [this] { m_plot.SetMode(1); });
    radio(1182, [this] { m_plot.SetMode(2); });
    check(1171, [this](bool on) { m_plot.SetHoldMaxima(on); });
    check(1181, [this](bool on) { m_plot.SetGrid(on); });
    check(1180, [this](bool on) { m_plot.SetDelay(on); });
    check(1177, [this](bool on) { m_plot.SetPeakFinding(on); });
    check(1084, [this](bool on) { m_plot.SetCurve(1, on); });
    check(1085, [this](bool on) { m_plot.SetCurve(2, on); });
    check(1086, [this](bool on) { m_plot.SetCurve(3, on); });
}

void CFFTView::SyncControls()
{
    if (!m_pBar)
        return;
    const CFFTSettings& s = m_plot.Settings();
    auto setSpin = [](QSpinBox* box, int v) {
        if (!box)
            return;
        const QSignalBlocker block(box);
        box->setValue(v);
    };
    setSpin(m_pLowHz, s.m_nBottomCutHz);
    setSpin(m_pTopKHz, s.m_nTopCutkHz);
    setSpin(m_pUpperDb, s.m_nBottomCutAmp);
    setSpin(m_pLowerDb, s.m_nTopCutAmp);
    setSpin(m_pDelay, s.m_nDelay);
    setSpin(m_pPeakDist, s.m_nMinAbstandMaxima);
    setSpin(m_pNeighbour, s.m_nMinAbstandNachbarMin);
    if (m_pDelay)
        m_pDelay->setEnabled(s.m_bIsDelay);

    auto setButton = [this](int nId, bool on) {
        if (auto* button = m_pBar->findChild<QAbstractButton*>(ControlName(nId))) {
            const QSignalBlocker block(button);
            button->setChecked(on);
        }
    };
    setButton(1071, s.m_bIsAmpLinear);
    setButton(1072, !s.m_bIsAmpLinear);
    setButton(1073, s.m_bIsFreqLinear);
    setButton(1074, !s.m_bIsFreqLinear);
    setButton(1078, s.m_nDarstellung == 0);
    setButton(1046, s.m_nDarstellung == 1);
    setButton(1182, s.m_nDarstellung == 2);
    setButton(1171, s.m_bIsSumme);
    setButton(1181, s.m_bGrid);
    setButton(1180, s.m_bIsDelay);
    setButton(1177, s.m_bIsCrossVisible);
    setButton(1084, s.m_bIsSpline && s.m_nSplineTyp == 1);
    setButton(1085, s.m_bIsSpline && s.m_nSplineTyp == 2);
    setButton(1086, s.m_bIsSpline && s.m_nSplineTyp == 3);
}

void CFFTView::SetCurrentFft(int nPoints)
{
    if (m_pCurrentFft)
        m_pCurrentFft->setText(QString::number(nPoints));
}
