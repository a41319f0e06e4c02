#include "ChildFrames.h"

#include "AnalyseView.h"
#include "FFT3DView.h"
#include "FFTView.h"
#include "NotenbildView.h"
#include "RekoView.h"
#include "SonoView.h"
#include "WaveletView.h"
#include "ZeitreiheView.h"

namespace {

template <class Frame, class View>
CChildFrame* Make(CMainFrame* pMainFrame, CTonaroDoc* pDoc)
{
    auto* frame = new Frame(pMainFrame);
    frame->SetView(new View(pDoc, frame->widget()));
    return frame;
}

} // namespace

CChildFrame* CreateKindFrame(WindowKind eKind, CMainFrame* pMainFrame, CTonaroDoc* pDoc)
{
    switch (eKind) {
    case WindowKind::FFT: return Make<CFFTFrame, CFFTView>(pMainFrame, pDoc);
    case WindowKind::FFT3D: return Make<CFFT3DFrame, CFFT3DView>(pMainFrame, pDoc);
    case WindowKind::Reko: return Make<CD3DRekoFrame, CRekoView>(pMainFrame, pDoc);
    case WindowKind::Sono: return Make<CSonoFrame, CSonoView>(pMainFrame, pDoc);
    case WindowKind::Notenbild: return Make<CNotenbildFrame, CNotenbildView>(pMainFrame, pDoc);
    case WindowKind::Zeitreihe: return Make<CZeitreiheFrame, CZeitreiheView>(pMainFrame, pDoc);
    case WindowKind::Analyse: return Make<CAnalyseFrame, CAnalyseView>(pMainFrame, pDoc);
    case WindowKind::Wavelet: return Make<CWaveletFrame, CWaveletView>(pMainFrame, pDoc);
    }
    return nullptr;
}
