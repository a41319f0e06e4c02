#include "QtSoundDialogs.h"

#include "resource_ids.h"

#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// "OK" (c1) and "Abbrechen" (c2) in a row, wired to accept and reject.
QPushButton* AddButtons(QDialog& dialog, QVBoxLayout& layout)
{
    auto* row = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), &dialog);
    ok->setObjectName(QStringLiteral("c1"));
    cancel->setObjectName(QStringLiteral("c2"));
    ok->setDefault(true);
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    layout.addLayout(row);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    return ok;
}

} // namespace

SoundCardAnswer CQtSoundDialogs::SoundCardDialog(const QStringList& aCapture, const QStringList& aPlayback)
{
    QDialog dialog(m_pParent);
    dialog.setObjectName(QStringLiteral("c%1").arg(Res::kDlgSoundCard));
    dialog.setWindowTitle(QStringLiteral("Soundkarteneinstellungen"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Bitte Aufnahmegerät auswählen:"), &dialog));
    auto* capture = new QComboBox(&dialog);
    capture->addItems(aCapture);
    layout->addWidget(capture);
    layout->addWidget(new QLabel(QStringLiteral("Bitte Ausgabegerät auswählen:"), &dialog));
    auto* playback = new QComboBox(&dialog);
    playback->addItems(aPlayback);
    layout->addWidget(playback);
    AddButtons(dialog, *layout);
    SoundCardAnswer answer;
    answer.m_bOk = dialog.exec() == QDialog::Accepted;
    answer.m_nCapture = capture->currentIndex();
    answer.m_nPlayback = playback->currentIndex();
    return answer;
}

int CQtSoundDialogs::WaveFormatDialog(const QStringList& aLines)
{
    QDialog dialog(m_pParent);
    dialog.setObjectName(QStringLiteral("c%1").arg(Res::kDlgWaveFormat));
    dialog.setWindowTitle(QStringLiteral("Waveformat"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Samplingrate und Auflösung:"), &dialog));
    auto* list = new QListWidget(&dialog);
    list->addItems(aLines);
    layout->addWidget(list);
    QPushButton* ok = AddButtons(dialog, *layout);
    ok->setEnabled(false);
    QObject::connect(list, &QListWidget::itemSelectionChanged, ok,
                     [list, ok] { ok->setEnabled(!list->selectedItems().isEmpty()); });
    if (dialog.exec() != QDialog::Accepted || list->currentRow() < 0)
        return -1;
    return list->currentRow();
}
