// Colours and fixed values shared by the overview and the wave view.
#pragma once

#include "Colour.h"

// Colour of the frame strips and margins around the plots (the classic menu colour).
inline constexpr ColourRef kMenuColour = MakeColour(240, 240, 240);
// Dark grey of band outlines and the envelope's centre line.
inline constexpr ColourRef kDarkGrey = MakeColour(50, 50, 50);
inline constexpr ColourRef kRed = MakeColour(255, 0, 0);
inline constexpr ColourRef kBlue = MakeColour(0, 0, 255);
inline constexpr ColourRef kGreen = MakeColour(0, 255, 0);
