// Conversion of a child window's normal rectangle between pixels and units of
// 1/10000 of the main window's free client area (W x H pixels), so that the
// arrangement survives a changed screen size or bars.
#pragma once

#include "WindowPlacement.h"

namespace PlacementUnits {

// ceil(v x 10000 / W) (resp. H) for each edge; show state and the minimised and
// maximised positions are left as they are.  W or H below 1 is taken as 1.
WindowPlacement ToRelative(const WindowPlacement& wp, int nWidth, int nHeight);
// ceil(v x W x 0.0001) for each edge (0.0001 in single precision), then each
// edge made even by moving an odd value one step toward zero.
WindowPlacement ToPixels(const WindowPlacement& wp, int nWidth, int nHeight);

} // namespace PlacementUnits
