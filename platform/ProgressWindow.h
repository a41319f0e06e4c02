// The small modeless window that tells the user what a file import is doing:
// one text, 200 x 100 pixels, its right edge on the vertical centre line of the
// main window and centred vertically in it.
#pragma once

#include <QDialog>

class QLabel;

class CProgressWindow : public QDialog {
public:
    explicit CProgressWindow(QWidget* pMainWindow);

    // Shows text at once, without waiting for the event loop.
    void SetText(const QString& text);

private:
    QLabel* m_pText = nullptr;
};
