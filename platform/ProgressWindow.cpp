#include "ProgressWindow.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int kWidth = 200;   // pixels
constexpr int kHeight = 100;  // pixels
} // namespace

CProgressWindow::CProgressWindow(QWidget* pMainWindow)
    : QDialog(pMainWindow, Qt::Tool)
{
    setModal(false);
    setWindowTitle(QStringLiteral("Tonaro"));
    auto* layout = new QVBoxLayout(this);
    m_pText = new QLabel(QStringLiteral("Fortschritt"), this);
    m_pText->setObjectName(QStringLiteral("progressText"));
    m_pText->setWordWrap(true);
    m_pText->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_pText);
    setFixedSize(kWidth, kHeight);
    if (pMainWindow) {
        const QRect client = pMainWindow->rect();
        move(pMainWindow->mapToGlobal(QPoint(client.width() / 2 - kWidth, client.height() / 2 - kHeight / 2)));
    }
}

void CProgressWindow::SetText(const QString& text)
{
    m_pText->setText(text);
    if (isVisible())
        m_pText->repaint();
}
