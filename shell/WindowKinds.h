// The eight kinds of analysis window: their commands, texts, document frame
// pointer, window-open setting, school group, placement and dialog bar.
#pragma once

#include "ProfileSettings.h"
#include "TonaroDoc.h"

#include <QString>
#include <array>

enum class WindowKind { FFT, FFT3D, Reko, Sono, Notenbild, Zeitreihe, Analyse, Wavelet };
inline constexpr int kWindowKindCount = 8;

struct WindowKindInfo {
    WindowKind eKind;
    int nToggleCommand;
    int nRaiseCommand;
    int nTitleString;                  // string resource of the title
    const char* szTitle;
    const char* szToggleMenu;          // full menu text
    const char* szToolTip;             // tool tip and tool-bar text
    const char* szWindowEntry;         // Window-menu entry
    const char* szRaisePrompt;         // status-bar prompt of the raise command
    QWidget* CTonaroDoc::*pFrame;      // the document's pointer to the open frame
    int CProfileSettings::*pOpenFlag;  // window-open setting (IniFenster...)
    int nSchoolGroup;                  // -1: not in the school group
    int nPlacement;                    // PlacementIndex
    int nDialogBar;                    // dialog bar resource
};

const std::array<WindowKindInfo, kWindowKindCount>& WindowKinds();
const WindowKindInfo& KindInfo(WindowKind eKind);
// The kind whose toggle (or raise) command is nCommand; null when none.
const WindowKindInfo* KindOfToggle(int nCommand);
const WindowKindInfo* KindOfRaise(int nCommand);

// Order in which a profile opens (and a profile change closes) the windows.
inline constexpr std::array<WindowKind, kWindowKindCount> kProfileOpenOrder = {
    WindowKind::Reko, WindowKind::Zeitreihe, WindowKind::FFT, WindowKind::Sono,
    WindowKind::FFT3D, WindowKind::Analyse, WindowKind::Notenbild, WindowKind::Wavelet,
};
