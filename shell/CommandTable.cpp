#include "CommandTable.h"

#include "WindowKinds.h"
#include "resource_ids.h"

using namespace Res;

const std::vector<CommandInfo>& Commands()
{
    static const std::vector<CommandInfo> commands = [] {
        std::vector<CommandInfo> c = {
            {kCmdOpenWave, "Wave öffnen", "Öffnet eine Musikdatei (WAV oder MP3).", "open"},
            {kCmdOpenTimeSeries, "Zeitreihe öffnen", "Öffnet eine Zeitreihe aus einer Textdatei.", "timeseries"},
            {kCmdSavePicture, "Speichern als Grafik", "Speichert das aktive Fenster als Grafik.", "savepicture"},
            {kCmdEditCopy, "Kopieren", "Kopiert das aktive Fenster als Grafik in die Zwischenablage.", "copy"},
            {kCmdSaveRecording, "Aufnahme speichern", "Speichert die Aufnahme als WAV- oder MP3-Datei.", "saverec"},
            {kCmdListen, "Mikrofon abhören", "Hört den Audioeingang ab.", "record"},
            {kCmdPlay, "Play", "Spielt die Musik ab.", "play"},
            {kCmdStop, "Stop", "Hält die Wiedergabe an.", "stop"},
            {kCmdRewind, "Rewind", "Spult an den Anfang zurück.", "rewind"},
            {kCmdLoop, "Loop", "Spielt die Musik in einer Schleife.", "loop"},
            {kCmdRemoveWave, "Wave entfernen", "Entfernt die geladene Musik.", "remove"},
            {kCmdStartRecording, "Aufnahme", "Schreibt das Abgehörte in die Aufnahmedatei.", ""},
            {kCmdStopRecording, "Aufnahme Stop", "Beendet die Aufnahme.", ""},
            {kCmdFftSize, "FFT Größe", "Wählt die Anzahl der Punkte der FFT.", "fftsize"},
            {kCmdWaveFormat, "Waveformat", "Wählt das Aufnahmeformat.", "waveformat"},
            {kCmdSoundCard, "Soundkarte", "Wählt die Soundkarte.", ""},
            {kCmdMixer, "Mixer", "Startet den Mixer des Systems.", "mixer"},
            {kCmdHelp, "Hilfe", "Öffnet die Hilfe.", "help"},
            {kCmdHelpIndex, "Hilfeindex", "Öffnet den Index der Hilfe.", ""},
            {kCmdShortcuts, "Tonaro ShortCuts", "Zeigt die Liste der Tastenkürzel.", ""},
            {kCmdAbout, "Info", "Zeigt Programminformationen an.", ""},
            {kCmdUpdate, "Auf neue Version prüfen", "Startet die Suche nach einer neuen Version.", ""},
            {kCmdProfileChoice, "Profil auswählen", "Wählt ein anderes Profil.", ""},
            {kCmdProfileSave, "Profil speichern", "Speichert Fenster und Einstellungen als eigenes Profil.", ""},
            {kCmdDeleteCaptures, "Alle Captures löschen", "Löscht alle Ergebnisse.", ""},
            {kCmdToolBarNormal, "Symbolleiste Standard", "Blendet die Standard-Symbolleiste ein oder aus.", ""},
            {kCmdToolBarSchool, "Symbolleiste Grundschule", "Blendet die große Symbolleiste ein oder aus.", ""},
            {kCmdViewStatusBar, "Statusleiste", "Blendet die Statusleiste ein oder aus.", ""},
            {kCmdViewToolBar, "Symbolleiste", "Blendet die Symbolleiste ein oder aus.", ""},
            {kCmdWindowCascade, "Überlappend", "Ordnet die Fenster überlappend an.", ""},
            {kCmdWindowTile, "Nebeneinander", "Ordnet die Fenster nebeneinander an.", ""},
            {kCmdWindowArrange, "Symbole anordnen", "Ordnet die Symbole an.", ""},
            {kCmdRaiseOverview, "Übersicht", "Bringt das Übersichsfenster in den Vordergrund.", ""},
            {kCmdExit, "Beenden", "Beendet das Programm.", ""},
            {kCmdCopyData, "Daten kopieren", "Kopiert die Daten des aktiven Fensters in die Zwischenablage.", ""},
        };
        static const char* const kIcons[] = {"fft", "fft3d", "reko", "sono", "noten", "zeitreihe", "analyse",
                                             "wavelet"};
        for (const WindowKindInfo& k : WindowKinds()) {
            c.push_back({k.nToggleCommand, k.szToolTip, "", kIcons[static_cast<int>(k.eKind)]});
            if (k.eKind != WindowKind::FFT3D)   // 32825 is the cancel command too; listed below
                c.push_back({k.nRaiseCommand, k.szWindowEntry, k.szRaisePrompt, ""});
        }
        c.push_back({kCmdRaiseFFT3D, "3D-FFT", "Bringt das FFT-3D-Fenster in den Vordergrund.", ""});
        return c;
    }();
    return commands;
}

const CommandInfo* FindCommand(int nId)
{
    for (const CommandInfo& c : Commands())
        if (c.nId == nId)
            return &c;
    return nullptr;
}

const std::vector<ToolButton>& NormalToolBar()
{
    static const std::vector<ToolButton> bar = {
        {kCmdOpenWave, "Musik laden", "open"},
        {kCmdOpenTimeSeries, "Zeitreihe öffnen", "timeseries"},
        {kCmdSaveRecording, "Aufnahme speichern", "saverec"},
        {0, nullptr, nullptr},
        {kCmdSavePicture, "Speichern als Grafik", "savepicture"},
        {kCmdEditCopy, "Kopieren", "copy"},
        {kCmdSavePicture, "Speichern als Grafik", "savepicture2"},
        {0, nullptr, nullptr},
        {kCmdListen, "Record", "record"},
        {kCmdPlay, "Play", "play"},
        {kCmdStop, "Stop", "stop"},
        {kCmdRewind, "Rewind", "rewind"},
        {kCmdLoop, "Loop", "loop"},
        {kCmdRemoveWave, "Wave entfernen", "remove"},
        {0, nullptr, nullptr},
        {kCmdFftSize, "FFT Größe", "fftsize"},
        {kCmdWaveFormat, "Waveformat", "waveformat"},
        {0, nullptr, nullptr},
        {kCmdToggleZeitreihe, "Zeitreihe/Autokorrelation", "zeitreihe"},
        {kCmdToggleFFT, "FFT", "fft"},
        {kCmdToggleFFT3D, "Tonlandschaft", "fft3d"},
        {kCmdToggleNotenbild, "Notenlinien", "noten"},
        {kCmdToggleSono, "Sonogramm", "sono"},
        {kCmdToggleWavelet, "Waveletanalyse", "wavelet"},
        {kCmdToggleReko, "Fingerabdruck", "reko"},
        {kCmdToggleAnalyse, "Zeitreihenanalyse", "analyse"},
        {0, nullptr, nullptr},
        {kCmdMixer, "Mixer", "mixer"},
        {0, nullptr, nullptr},
        {kCmdHelp, "Hilfe", "help"},
    };
    return bar;
}

const std::vector<ToolButton>& SchoolToolBar()
{
    static const std::vector<ToolButton> bar = {
        {kCmdOpenWave, "Wave öffnen", "open"},
        {0, nullptr, nullptr},
        {kCmdListen, "Mikrofon abhören", "record"},
        {kCmdPlay, "Play", "play"},
        {kCmdStop, "Stop", "stop"},
        {kCmdRewind, "Rewind", "rewind"},
        {kCmdLoop, "Loop", "loop"},
        {0, nullptr, nullptr},
        {kCmdToggleFFT3D, "Tonlandschaft", "fft3d"},
        {kCmdToggleNotenbild, "Notenlinien", "noten"},
        {kCmdToggleSono, "Sonogramm", "sono"},
        {kCmdToggleReko, "Fingerabdruck", "reko"},
    };
    return bar;
}

const std::vector<Accelerator>& AcceleratorTable()
{
    static const std::vector<Accelerator> table = {
        {Qt::CTRL | Qt::Key_C, kCmdEditCopy},
        {Qt::CTRL | Qt::Key_Insert, kCmdEditCopy},
        {Qt::CTRL | Qt::Key_E, kCmdCopyData},
        {Qt::CTRL | Qt::Key_H, kCmd3DHelp},
        {Qt::CTRL | Qt::Key_O, kCmdOpenWave},
        {Qt::CTRL | Qt::Key_P, kCmdProfileChoice},
        {Qt::CTRL | Qt::Key_R, kCmdReset3D},
        {Qt::CTRL | Qt::Key_S, kCmdSavePicture},
        {Qt::CTRL | Qt::Key_V, kCmdEditPaste},
        {Qt::SHIFT | Qt::Key_Insert, kCmdEditPaste},
        {Qt::CTRL | Qt::Key_X, kCmdEditCut},
        {Qt::SHIFT | Qt::Key_Delete, kCmdEditCut},
        {Qt::CTRL | Qt::Key_Z, kCmdEditUndo},
        {Qt::ALT | Qt::Key_Backspace, kCmdEditUndo},
        {QKeyCombination(Qt::Key_Escape), kCmdCancel},
        {QKeyCombination(Qt::Key_F1), kCmdHelp},
        {QKeyCombination(Qt::Key_F2), kCmdGraphicsDevice},
        {QKeyCombination(Qt::Key_F6), kCmdNextPane},
        {Qt::SHIFT | Qt::Key_F6, kCmdPrevPane},
        {QKeyCombination(Qt::Key_F10), kCmdSoundCard},
        {QKeyCombination(Qt::Key_F11), kCmdWaveFormat},
        {QKeyCombination(Qt::Key_Return), kCmd3DEnter},
        {QKeyCombination(Qt::Key_Space), kCmdSpace},
    };
    return table;
}

namespace {
const MenuItem kSep{0, nullptr};
const std::vector<MenuItem> kFileMenu = {
    {kCmdOpenWave, "&Wavefile öffnen...\tStrg+O"},
    {kCmdOpenTimeSeries, "&Zeitreihe öffnen...\tStrg+Z"},
    {kCmdSavePicture, "Fenster speichern...\tStrg+S"},
    kSep,
    {kCmdExit, "&Beenden"},
};
} // namespace

const std::vector<MenuDef>& FullMenu()
{
    static const std::vector<MenuDef> menu = {
        {"&Datei", kFileMenu},
        {"&Bearbeiten", {{kCmdEditCopy, "&Kopieren\tStrg+C"}, {kCmdDeleteCaptures, "Alle Captures löschen"}}},
        {"&Ansicht",
         {{kCmdToolBarNormal, "&Symbolleiste Standard"}, {kCmdToolBarSchool, "Symbolleiste Grundschule"},
          {kCmdViewStatusBar, "S&tatusleiste"}, kSep, {kCmdToggleZeitreihe, "&Zeitreihe"}, {kCmdToggleFFT, "&FFT"},
          {kCmdToggleFFT3D, "3D FFT"}, {kCmdToggleNotenbild, "&Notenbild"}, {kCmdToggleSono, "Sono&gramm"},
          {kCmdToggleReko, "&3D Rekonstruktion"}, {kCmdToggleAnalyse, "&Zeitreihenanalyse"},
          {kCmdToggleWavelet, "&Wavelet"}}},
        {"Da&ten", {{kCmdListen, "Audioeingang abhören"}}},
        {"&Einstellungen",
         {{kCmdProfileChoice, "&Profil auswählen"}, {kCmdProfileSave, "Profil speichern"}, kSep,
          {kCmdSoundCard, "&Soundkarte"}, {kCmdWaveFormat, "&Waveformat"}, kSep, {kCmdFftSize, "&FFT"}}},
        {"&Fenster",
         {{kCmdWindowCascade, "Über&lappend"}, {kCmdWindowTile, "&Nebeneinander"},
          {kCmdWindowArrange, "&Symbole anordnen"}, kSep, {kCmdRaiseOverview, "Übersicht"}}},
        {"&?",
         {{kCmdHelp, "Tonaro Hilfe\tF1"}, {kCmdHelpIndex, "Tonaro Hilfeindex"}, {kCmdShortcuts, "Tonaro ShortCuts"},
          kSep, {kCmdAbout, "Inf&o über Tonaro..."}, {kCmdUpdate, "Auf neue Version prüfen ..."}}},
    };
    return menu;
}

const std::vector<MenuDef>& ShortMenu()
{
    static const std::vector<MenuDef> menu = {
        {"&Datei", kFileMenu},
        {"&Ansicht", {{kCmdViewToolBar, "&Symbolleiste"}, {kCmdViewStatusBar, "S&tatusleiste"}}},
        {"&Mikrofon", {{kCmdListen, "Musik aufnehmen"}}},
        {"&Fenster",
         {{kCmdWindowCascade, "Über&lappend"}, {kCmdWindowTile, "&Nebeneinander"}, kSep,
          {kCmdRaiseOverview, "Übersicht"}}},
        {"&?", {{kCmdAbout, "Inf&o über Tonaro..."}, kSep, {kCmdUpdate, "Auf neue Version prüfen..."}}},
    };
    return menu;
}
