#include "HuellkurveDlg.h"

#include "EnvelopeEditor.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

CHuellkurveDlg::CHuellkurveDlg(CEnvelopeEditor& editor, QWidget* pOwner)
    : QDialog(pOwner), m_editor(editor)
{
    setObjectName(QStringLiteral("c178"));
    setWindowTitle(QStringLiteral("Hüllkurve"));
    setModal(false);
    m_pPicture = new QLabel;
    m_pPicture->setObjectName(QStringLiteral("c1186"));
    m_pPicture->setFixedSize(490, 390);
    m_pPicture->setScaledContents(true);
    m_pPicture->setFrameShape(QFrame::Box);

    auto* buttons = new QVBoxLayout;
    auto addButton = [&](int id, const QString& text, auto action) {
        auto* b = new QPushButton(text);
        b->setObjectName(QStringLiteral("c%1").arg(id));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, action);
        buttons->addWidget(b);
    };
    addButton(1, QStringLiteral("Punkte löschen und Fenster schließen"), [this] { m_editor.OnClearAndClose(); });
    addButton(1187, QStringLiteral("Optimiere Punktmenge"), [this] { m_editor.OnOptimize(); });
    addButton(1188, QStringLiteral("Zeichne Hüllkurve"), [this] { m_editor.OnDrawCurve(); });
    addButton(1189, QStringLiteral("Ansicht speichern"), [this] { m_editor.OnSave(); });
    addButton(1190, QStringLiteral("Kopie in die Zwischenablage"), [this] { m_editor.OnCopy(); });
    auto* hint = new QLabel(QStringLiteral("\nBei aktivierter Hüllkurve können die roten Stützpunkte mit der rechten "
                                           "Maus-\ntaste entfernt und neue mit der linken Maustaste hinzuge-\n"
                                           "fügt werden."));
    hint->setWordWrap(true);
    buttons->addWidget(hint);
    buttons->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_pPicture, 0, Qt::AlignTop);
    layout->addLayout(buttons);
}

void CHuellkurveDlg::SetPicture(const QImage& image)
{
    m_pPicture->setPixmap(QPixmap::fromImage(image));
}

bool CHuellkurveDlg::MapToView(QPoint p, CanvasPoint& q) const
{
    const QRect r = m_pPicture->geometry();
    if (!r.contains(p) || r.width() <= 0 || r.height() <= 0)
        return false;
    const CanvasSize view = m_editor.ViewSize();
    q = {static_cast<int>(static_cast<int64_t>(view.cx) * (p.x() - r.left()) / r.width()),
         static_cast<int>(static_cast<int64_t>(view.cy) * (p.y() - r.top()) / r.height())};
    return true;
}

void CHuellkurveDlg::mousePressEvent(QMouseEvent* event)
{
    CanvasPoint q;
    if (!MapToView(event->position().toPoint(), q))
        return QDialog::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        m_editor.OnLeftClick(q);
    else if (event->button() == Qt::RightButton)
        m_editor.OnRightClick(q);
}
