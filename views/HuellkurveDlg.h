// The envelope editor's window ("Hüllkurve"): a modeless dialog that shows the
// last envelope picture and forwards its buttons and the clicks on the picture
// to the envelope editor of the wave view.  Closing it only hides it.
#pragma once

#include "CanvasTypes.h"

#include <QDialog>
#include <QImage>

class CEnvelopeEditor;
class QLabel;

class CHuellkurveDlg : public QDialog {
public:
    CHuellkurveDlg(CEnvelopeEditor& editor, QWidget* pOwner);

    void SetPicture(const QImage& image);
    QLabel* PictureControl() const { return m_pPicture; }
    // View point of a click at p in dialog client pixels: the picture control's
    // real position and size map onto the wave view's client area.  Nothing
    // when p lies outside the picture.
    bool MapToView(QPoint p, CanvasPoint& q) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    CEnvelopeEditor& m_editor;
    QLabel* m_pPicture;
};
