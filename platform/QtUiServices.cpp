#include "QtUiServices.h"

#include "FileFilter.h"
#include "WaveParameterDialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>
#include <QCursor>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

#include <functional>
#include <utility>
#include <vector>

namespace {

// Shows the normal arrow over a modal dialog while the wait cursor is on.
class ArrowOverDialog {
public:
    explicit ArrowOverDialog(bool waiting) : m_bActive(waiting && QApplication::instance() != nullptr)
    {
        if (m_bActive)
            QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    }
    ~ArrowOverDialog()
    {
        if (m_bActive)
            QApplication::restoreOverrideCursor();
    }
    ArrowOverDialog(const ArrowOverDialog&) = delete;
    ArrowOverDialog& operator=(const ArrowOverDialog&) = delete;

private:
    bool m_bActive;
};

QMessageBox::Icon ToQtIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Warning: return QMessageBox::Warning;
    case MsgIcon::Error: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// Buttons of a box in order, each with its German text, role and answer.
struct ButtonDef {
    const char* m_pszText;
    QMessageBox::ButtonRole m_eRole;
    int m_nAnswer;
};

std::vector<ButtonDef> ButtonsOf(MsgButtons buttons)
{
    const ButtonDef ok{"OK", QMessageBox::AcceptRole, IDOK};
    const ButtonDef cancel{"Abbrechen", QMessageBox::RejectRole, IDCANCEL};
    const ButtonDef yes{"Ja", QMessageBox::YesRole, IDYES};
    const ButtonDef no{"Nein", QMessageBox::NoRole, IDNO};
    const ButtonDef retry{"Wiederholen", QMessageBox::AcceptRole, IDRETRY};
    const ButtonDef abort{"Abbrechen", QMessageBox::RejectRole, IDABORT};
    const ButtonDef ignore{"Ignorieren", QMessageBox::AcceptRole, IDIGNORE};
    switch (buttons) {
    case MsgButtons::Ok: return {ok};
    case MsgButtons::OkCancel: return {ok, cancel};
    case MsgButtons::YesNo: return {yes, no};
    case MsgButtons::YesNoCancel: return {yes, no, cancel};
    case MsgButtons::RetryCancel: return {retry, cancel};
    case MsgButtons::AbortRetryIgnore: return {abort, retry, ignore};
    }
    return {ok};
}

// Answer when the box is closed without a button (Esc, window close).
int ClosedAnswer(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok: return IDOK;
    case MsgButtons::YesNo: return IDNO;
    case MsgButtons::AbortRetryIgnore: return IDABORT;
    default: return IDCANCEL;
    }
}

// File dialog whose default suffix follows the chosen filter: the suffix is set
// just before the dialog checks the typed name, so its overwrite question sees
// the name that will be written.
class FilterSuffixFileDialog : public QFileDialog {
public:
    using SuffixFor = std::function<QString(const QString& nameFilter)>;
    FilterSuffixFileDialog(QWidget* parent, const QString& title, SuffixFor suffixFor)
        : QFileDialog(parent, title), m_suffixFor(std::move(suffixFor))
    {
        connect(this, &QFileDialog::filterSelected, this,
                [this](const QString& nameFilter) { setDefaultSuffix(m_suffixFor(nameFilter)); });
    }

protected:
    void accept() override
    {
        setDefaultSuffix(m_suffixFor(selectedNameFilter()));
        QFileDialog::accept();
    }

private:
    SuffixFor m_suffixFor;
};

} // namespace

int QtUiServices::MessageBox(const QString& text, const QString& caption, MsgIcon icon, MsgButtons buttons)
{
    QMessageBox box(ToQtIcon(icon), caption, text, QMessageBox::NoButton, m_pParent);
    std::vector<std::pair<QAbstractButton*, int>> answers;
    QAbstractButton* escape = nullptr;
    const int closed = ClosedAnswer(buttons);
    for (const ButtonDef& def : ButtonsOf(buttons)) {
        QPushButton* b = box.addButton(QString::fromUtf8(def.m_pszText), def.m_eRole);
        answers.emplace_back(b, def.m_nAnswer);
        if (def.m_nAnswer == closed)
            escape = b;
    }
    box.setDefaultButton(static_cast<QPushButton*>(answers.front().first));
    if (escape)
        box.setEscapeButton(escape);
    ArrowOverDialog arrow(WaitCursorDepth() > 0);
    box.exec();
    for (const auto& [button, answer] : answers)
        if (box.clickedButton() == button)
            return answer;
    return closed;
}

FileDialogResult QtUiServices::RunFileDialog(const FileDialogRequest& request, bool save)
{
    const std::vector<FileFilter> filters = FileFilters::Parse(request.m_strFilter);
    const QStringList nameFilters = FileFilters::ToQtNameFilters(filters);
    QString defaultExt = request.m_strDefaultExt;
    if (defaultExt.startsWith(QLatin1Char('.')))
        defaultExt.remove(0, 1);

    auto suffixFor = [&](const QString& nameFilter) {
        const auto index = nameFilters.indexOf(nameFilter);
        const QString ext = index >= 0 ? FileFilters::ExtensionOf(filters[static_cast<std::size_t>(index)]) : QString();
        return ext.isEmpty() ? defaultExt : ext;
    };
    FilterSuffixFileDialog dialog(m_pParent, request.m_strTitle, suffixFor);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    const bool mustExist = !save && (request.m_nFlags & FileDialogFlag::FileMustExist) != 0;
    dialog.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite,
                     !save || (request.m_nFlags & FileDialogFlag::OverwritePrompt) == 0);
    if (!nameFilters.isEmpty()) {
        dialog.setNameFilters(nameFilters);
        const int start = request.m_nFilterIndex >= 1 && request.m_nFilterIndex <= nameFilters.size()
                              ? request.m_nFilterIndex
                              : 1;
        dialog.selectNameFilter(nameFilters[start - 1]);
        dialog.setDefaultSuffix(suffixFor(nameFilters[start - 1]));
    } else {
        dialog.setDefaultSuffix(defaultExt);
    }

    if (!request.m_strInitialPath.isEmpty()) {
        const QFileInfo initial(request.m_strInitialPath);
        if (initial.isDir()) {
            dialog.setDirectory(initial.absoluteFilePath());
        } else {
            if (request.m_strInitialPath.contains(QLatin1Char('/')))
                dialog.setDirectory(initial.absolutePath());
            dialog.selectFile(initial.fileName());
        }
    }

    ArrowOverDialog arrow(WaitCursorDepth() > 0);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    FileDialogResult result;
    result.m_bOk = true;
    result.m_nFilterIndex = std::max(1, static_cast<int>(nameFilters.indexOf(dialog.selectedNameFilter())) + 1);
    result.m_strPath =
        FileFilters::WithDefaultExtension(dialog.selectedFiles().first(), filters, result.m_nFilterIndex, defaultExt);
    return result;
}

FileDialogResult QtUiServices::OpenFileDialog(const FileDialogRequest& request)
{
    return RunFileDialog(request, false);
}

FileDialogResult QtUiServices::SaveFileDialog(const FileDialogRequest& request)
{
    return RunFileDialog(request, true);
}

std::optional<ColourRef> QtUiServices::ChooseColour(ColourRef initial)
{
    ArrowOverDialog arrow(WaitCursorDepth() > 0);
    const QColor chosen = QColorDialog::getColor(ToQColor(initial), m_pParent);
    if (!chosen.isValid())
        return std::nullopt;
    return FromQColor(chosen);
}

bool QtUiServices::Beep(int frequencyHz, int durationMs)
{
    if (!BeepArgumentsValid(frequencyHz, durationMs))
        return false;
    if (durationMs == 0)
        return true;
    if (!m_beeper.Play(frequencyHz, durationMs)) {
        QApplication::beep();
        QThread::msleep(static_cast<unsigned long>(durationMs));
    }
    return true;
}

int QtUiServices::FftSettingsDialog(int nCurrentIndex)
{
    ArrowOverDialog arrow(WaitCursorDepth() > 0);
    QDialog dialog(m_pParent);
    dialog.setWindowTitle(QStringLiteral("FFT Einstellungen"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Anzahl der Punkte für Transformation"), &dialog));
    auto* list = new QComboBox(&dialog);
    for (int size = 256; size <= 524288; size *= 2)
        list->addItem(QString::number(size));
    list->setCurrentIndex(nCurrentIndex >= 0 && nCurrentIndex < list->count() ? nCurrentIndex : 2);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    return dialog.exec() == QDialog::Accepted ? list->currentIndex() : kDialogCancelled;
}

void QtUiServices::ShowWaitCursor(bool show)
{
    if (!QApplication::instance())
        return;
    if (show)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QApplication::restoreOverrideCursor();
}

WaveParameterAnswer QtUiServices::WaveParameterDialog(const WaveParameterInfo& info)
{
    ArrowOverDialog arrow(WaitCursorDepth() > 0);
    CWaveParameterDialog dialog(info, m_pParent ? m_pParent.data() : QApplication::activeWindow());
    WaveParameterAnswer answer;
    answer.m_bOk = dialog.exec() == QDialog::Accepted && info.OkEnabled();
    answer.m_nChannelChoice = dialog.ChannelChoice();
    return answer;
}

void QtUiServices::ShowProgressWindow(bool bVisible)
{
    CloseProgressWindow();
    m_pProgress = new CProgressWindow(m_pParent ? m_pParent.data() : QApplication::activeWindow());
    m_pProgress->setAttribute(Qt::WA_DeleteOnClose);
    if (bVisible) {
        m_pProgress->show();
        m_pProgress->repaint();
    }
}

void QtUiServices::SetProgressText(const QString& text)
{
    if (m_pProgress)
        m_pProgress->SetText(text);
}

void QtUiServices::CloseProgressWindow()
{
    if (m_pProgress)
        delete m_pProgress.data();
}
