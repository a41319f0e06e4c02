#include "WaveParameterDialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QLineEdit* ReadOnlyField(const QString& text, const QString& name, QWidget* parent)
{
    auto* field = new QLineEdit(text, parent);
    field->setReadOnly(true);
    field->setObjectName(name);
    return field;
}

// A read-only field with its unit label behind it.
QWidget* FieldWithUnit(QLineEdit* field, const QString& unit, QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(field);
    row->addWidget(new QLabel(unit, box));
    return box;
}

} // namespace

CWaveParameterDialog::CWaveParameterDialog(const WaveParameterInfo& info, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Waveparameter kontrollieren ..."));
    auto* layout = new QVBoxLayout(this);

    auto* fileGroup = new QGroupBox(QStringLiteral("Datei"), this);
    auto* fileLayout = new QVBoxLayout(fileGroup);
    fileLayout->addWidget(ReadOnlyField(info.m_strFileName, QStringLiteral("fileName"), fileGroup));
    layout->addWidget(fileGroup);

    auto* hint = new QLabel(info.HintText(), this);
    hint->setObjectName(QStringLiteral("hint"));
    hint->setWordWrap(true);
    layout->addWidget(hint);

    auto* formatGroup = new QGroupBox(QStringLiteral("Waveformat"), this);
    auto* form = new QFormLayout(formatGroup);
    form->addRow(QStringLiteral("Kanäle:"), ReadOnlyField(info.m_strChannels, QStringLiteral("channels"), formatGroup));
    form->addRow(QStringLiteral("Samplingrate:"),
                 FieldWithUnit(ReadOnlyField(QString::number(info.m_nSampleRate), QStringLiteral("sampleRate"),
                                             formatGroup),
                               QStringLiteral("kHz"), formatGroup));
    form->addRow(QStringLiteral("Auflösung:"),
                 FieldWithUnit(ReadOnlyField(QString::number(info.m_nBitsPerSample), QStringLiteral("bits"),
                                             formatGroup),
                               QStringLiteral("Bit"), formatGroup));
    form->addRow(QStringLiteral("Format:"), ReadOnlyField(info.m_strFormatTag, QStringLiteral("formatTag"), formatGroup));
    layout->addWidget(formatGroup);

    auto* channelGroup = new QGroupBox(QStringLiteral("Kanal"), this);
    auto* channelLayout = new QHBoxLayout(channelGroup);
    m_pLeft = new QRadioButton(QStringLiteral("Links"), channelGroup);
    m_pLeft->setObjectName(QStringLiteral("left"));
    auto* right = new QRadioButton(QStringLiteral("Rechts"), channelGroup);
    right->setObjectName(QStringLiteral("right"));
    channelLayout->addWidget(m_pLeft);
    channelLayout->addWidget(right);
    m_pLeft->setChecked(info.IsStereo());
    m_pLeft->setEnabled(info.IsStereo());
    right->setEnabled(info.IsStereo());
    layout->addWidget(channelGroup);

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setEnabled(info.OkEnabled());
    ok->setDefault(info.OkEnabled());
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

int CWaveParameterDialog::ChannelChoice() const
{
    return m_pLeft->isChecked() ? 1 : 0;
}
