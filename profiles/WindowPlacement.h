// Where a window stands: show state, minimised and maximised positions and the
// normal rectangle (right and bottom exclusive).  The main window keeps pixels;
// the child windows keep units of 1/10000 of the main window's free client area.
#pragma once

// Show states stored in the placements.
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimised = 2;
inline constexpr int kShowMaximised = 3;
inline constexpr int kShowShown = 5;

struct WindowPlacement {
    int showCmd = kShowShown;
    int flags = 0;
    int ptMinX = -1, ptMinY = -1;   // minimised position
    int ptMaxX = -1, ptMaxY = -1;   // maximised position
    int left = 0, top = 0, right = 10, bottom = 10;   // normal rectangle

    bool operator==(const WindowPlacement&) const = default;
};

// Indices into the ten placements.
enum PlacementIndex : int {
    kPlaceMain = 0, kPlaceUebersicht = 1, kPlaceFFT = 2, kPlaceAnalyse = 3, kPlaceReko = 4,
    kPlaceFFT3D = 5, kPlaceNotenbild = 6, kPlaceSono = 7, kPlaceWavelet = 8, kPlaceZeitreihe = 9,
    kPlacementCount = 10,
};
