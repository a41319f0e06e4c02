// Common base of the views whose windows are not drawn yet: registers with
// the document, keeps the window's Window-menu entry while it exists, clears
// the document's frame pointer of its kind when it goes, and paints only its
// background.
#pragma once

#include "DocView.h"

#include <QColor>
#include <QString>
#include <QWidget>

class CTonaroDoc;

class CPlaceholderView : public QWidget, public CDocView {
public:
    // pFramePointer: the document's pointer to this kind's frame (null for the
    // main wave window's panes); nRaiseCommand 0: no Window-menu entry.
    CPlaceholderView(CTonaroDoc* pDoc, QWidget* CTonaroDoc::*pFramePointer, int nRaiseCommand,
                     const QString& strMenuEntry, QColor background, QWidget* pParent);
    ~CPlaceholderView() override;

    void OnUpdate(int nHint) override;
    CTonaroDoc* GetDocument() const { return m_pDoc; }
    int LastHint() const { return m_nLastHint; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CTonaroDoc* m_pDoc;
    QWidget* CTonaroDoc::*m_pFramePointer;
    int m_nRaiseCommand;
    QColor m_background;
    int m_nLastHint = -1;   // last update hint received
};
