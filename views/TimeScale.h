// The overview's time scale: unit, tick spacing and label rule for a sound of
// a given duration shown over a plot of a given width, and its drawing.
#pragma once

#include <QString>

class Canvas;

struct TimeScaleLayout {
    enum class Unit { Minutes, Seconds, Milliseconds };
    Unit m_eUnit = Unit::Milliseconds;
    double m_dSpacing = 0.0;   // pixels per unit
    double m_dEnd = 0.0;       // duration in the unit
    int m_nLabelStep = 1;      // units between labels (k)
    int m_nMinorStep = 1;      // units between minor ticks when k > 1
    int m_nSubdivisions = 10;  // minor ticks per unit when k = 1
};

// dDurationMs: length of the sound; nPlotWidth: logical width - 20; nClientWidth: window width.
TimeScaleLayout LayoutTimeScale(double dDurationMs, int nPlotWidth, int nClientWidth);
// Label of the value v in the unit ("1:00", "0:05", "0:00.230").
QString TimeScaleLabel(TimeScaleLayout::Unit eUnit, int v);
// Draws ticks and labels into the top strip; nScrollX: logical x of the client's left edge.
void DrawTimeScale(Canvas& dc, const TimeScaleLayout& layout, int nScrollX);
