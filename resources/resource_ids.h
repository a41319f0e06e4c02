// Command, control, dialog, menu, bitmap and string numbers of the program.
// Tests find controls by these numbers: a control's object name is
// "c" followed by its number (e.g. "c1027").
#pragma once

namespace Res {

// Dialogs and dialog bars
inline constexpr int kDlgAbout = 100;
inline constexpr int kDlgSoundCard = 130;
inline constexpr int kDlgWaveFormat = 131;
inline constexpr int kDlgFftSettings = 153;
inline constexpr int kDlgPredefinedProfile = 185;
inline constexpr int kDlgStartProfile = 187;
inline constexpr int kDlgSaveProfile = 192;
inline constexpr int kDlgSchoolStart = 212;
inline constexpr int kDlgShortcuts = 228;
inline constexpr int kBarWave = 162;
inline constexpr int kBarFFT = 168;
inline constexpr int kBarAnalyse = 174;
inline constexpr int kBarReko = 138;
inline constexpr int kBarFFT3D = 166;
inline constexpr int kBarNotenbild = 179;
inline constexpr int kBarSono = 169;
inline constexpr int kBarWavelet = 182;
inline constexpr int kBarZeitreihe = 177;

// Menus, tool bars, accelerators
inline constexpr int kMenuShort = 128;
inline constexpr int kMenuFull = 154;
inline constexpr int kToolBarNormal = 128;
inline constexpr int kToolBarSchool = 129;
inline constexpr int kAccelerators = 128;

// Bitmaps (drawn by the program)
inline constexpr int kBmpStandard = 189;
inline constexpr int kBmpKomplett = 190;
inline constexpr int kBmpMusiker = 191;
inline constexpr int kBmpProgram = 193;
inline constexpr int kBmpAnalytiker = 194;
inline constexpr int kBmpOberschule = 195;
inline constexpr int kBmpSchoolChoice = 211;
inline constexpr int kBmpGrundschule = 213;

// Window titles (string resources)
inline constexpr int kStrFFT = 130;
inline constexpr int kStrReko = 131;
inline constexpr int kStrZeitreihe = 132;
inline constexpr int kStrSono = 134;
inline constexpr int kStrFFT3D = 135;
inline constexpr int kStrAnalyse = 136;
inline constexpr int kStrNotenbild = 138;
inline constexpr int kStrWavelet = 183;

// Commands
inline constexpr int kCmdSoundCard = 32771;
inline constexpr int kCmdToggleZeitreihe = 32776;
inline constexpr int kCmdToggleReko = 32778;
inline constexpr int kCmdGraphicsDevice = 32780;
inline constexpr int kCmdSpace = 32782;
inline constexpr int kCmdDeleteCaptures = 32788;
inline constexpr int kCmdToggleFFT = 32794;
inline constexpr int kCmd3DHelp = 32798;
inline constexpr int kCmd3DEnter = 32799;
inline constexpr int kCmdToggleSono = 32804;
inline constexpr int kCmdToggleFFT3D = 32806;
inline constexpr int kCmdOpenWave = 32807;
inline constexpr int kCmdSavePicture = 32808;
inline constexpr int kCmdMixer = 32813;
inline constexpr int kCmdToggleAnalyse = 32814;
inline constexpr int kCmdToggleNotenbild = 32823;
inline constexpr int kCmdRaiseAnalyse = 32824;
inline constexpr int kCmdRaiseFFT3D = 32825;   // also Esc, "Abbruch": the cancel command
inline constexpr int kCmdCancel = 32825;
inline constexpr int kCmdToggleWavelet = 32826;
inline constexpr int kCmdRaiseFFT = 32827;
inline constexpr int kCmdProfileChoice = 32828;
inline constexpr int kCmdProfileSave = 32829;
inline constexpr int kCmdRaiseNotenbild = 32832;
inline constexpr int kCmdRaiseReko = 32833;
inline constexpr int kCmdRaiseSono = 32834;
inline constexpr int kCmdRaiseWavelet = 32836;
inline constexpr int kCmdRaiseZeitreihe = 32837;
inline constexpr int kCmdCopyData = 32848;
inline constexpr int kCmdShortcuts = 32849;
inline constexpr int kCmdUpdate = 32850;
inline constexpr int kCmdRaiseOverview = 32852;
// Document commands whose numbers the program chose itself.
inline constexpr int kCmdOpenTimeSeries = 32860;
inline constexpr int kCmdSaveRecording = 32861;
inline constexpr int kCmdListen = 32862;
inline constexpr int kCmdPlay = 32863;
inline constexpr int kCmdStop = 32864;
inline constexpr int kCmdRewind = 32865;
inline constexpr int kCmdLoop = 32866;
inline constexpr int kCmdRemoveWave = 32867;
inline constexpr int kCmdFftSize = 32868;
inline constexpr int kCmdWaveFormat = 32869;
inline constexpr int kCmdToolBarNormal = 32870;
inline constexpr int kCmdToolBarSchool = 32871;
inline constexpr int kCmdStartRecording = 32872;
inline constexpr int kCmdStopRecording = 32873;
inline constexpr int kCmdReset3D = 1056;
// The framework's standard commands.
inline constexpr int kCmdEditCopy = 57634;
inline constexpr int kCmdEditCut = 57635;
inline constexpr int kCmdEditPaste = 57637;
inline constexpr int kCmdEditUndo = 57643;
inline constexpr int kCmdWindowArrange = 57649;
inline constexpr int kCmdWindowCascade = 57650;
inline constexpr int kCmdWindowTile = 57651;
inline constexpr int kCmdAbout = 57664;
inline constexpr int kCmdExit = 57665;
inline constexpr int kCmdHelpIndex = 57666;
inline constexpr int kCmdHelp = 57667;
inline constexpr int kCmdNextPane = 57680;
inline constexpr int kCmdPrevPane = 57681;
inline constexpr int kCmdViewToolBar = 59392;   // short menu: the first bar with the tool-bar id
inline constexpr int kCmdViewStatusBar = 59393;

// Controls
inline constexpr int kCtlFftSizeList = 1027;
inline constexpr int kCtlUpperFrequencyKHz = 1069;   // FFT, sonogram and 3D FFT bars
inline constexpr int kCtlDynamicRangeSpin = 1089;    // FFT bar: level at the bottom of the plot

} // namespace Res
