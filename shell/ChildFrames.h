// The child frames of the window kinds.  Each is a CChildFrame with its
// placement index and dialog bar; the main wave window's frame (with its
// splitter) is CSplitterFrame.
#pragma once

#include "ChildFrame.h"
#include "WindowKinds.h"
#include "resource_ids.h"

// A frame of one analysis window kind; the named classes below fix the kind.
template <WindowKind K>
class CKindFrame : public CChildFrame {
public:
    explicit CKindFrame(CMainFrame* pMainFrame)
        : CChildFrame(pMainFrame, KindInfo(K).nPlacement, KindInfo(K).nDialogBar,
                      QString::fromUtf8(KindInfo(K).szTitle))
    {
    }
};

class CFFTFrame : public CKindFrame<WindowKind::FFT> { using CKindFrame::CKindFrame; };
class CAnalyseFrame : public CKindFrame<WindowKind::Analyse> { using CKindFrame::CKindFrame; };
class CD3DRekoFrame : public CKindFrame<WindowKind::Reko> { using CKindFrame::CKindFrame; };
class CFFT3DFrame : public CKindFrame<WindowKind::FFT3D> { using CKindFrame::CKindFrame; };
class CNotenbildFrame : public CKindFrame<WindowKind::Notenbild> { using CKindFrame::CKindFrame; };
class CSonoFrame : public CKindFrame<WindowKind::Sono> { using CKindFrame::CKindFrame; };
class CWaveletFrame : public CKindFrame<WindowKind::Wavelet> { using CKindFrame::CKindFrame; };
class CZeitreiheFrame : public CKindFrame<WindowKind::Zeitreihe> { using CKindFrame::CKindFrame; };

// Makes the frame and the view of a kind; the view registers with pDoc.
CChildFrame* CreateKindFrame(WindowKind eKind, CMainFrame* pMainFrame, CTonaroDoc* pDoc);
