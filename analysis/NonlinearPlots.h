// Plots of the nonlinear analyses, drawn through Canvas over its whole
// surface.  The engine draws them while it runs; the analysis window draws
// them again from the stored results on repaint.
#pragma once

#include "NonlinearTypes.h"

#include <span>
#include <string>
#include <vector>

class Canvas;

// Scales of the maximal-exponent plot for a surface of w x h pixels: x_step pixels
// per iteration and scale_y pixels per unit of S (the window's slope tool uses them).
struct MaxExponentScales {
    int m_nXStep = 1;
    double m_dScaleY = 1.0;
};
MaxExponentScales MaxExponentPlotScales(const MaxExponentResult& result, int w, int h);

// Stretch factors S(n) of the completed sizes, one curve per size and dimension.
void DrawMaxExponentPlot(Canvas& canvas, const MaxExponentResult& result);

// Running averages of the exponents.  bFinal adds the dotted average lines.
// pLastScale (may be null) holds the vertical scale of the previous drawing of
// the same run: when it is unchanged only the label strip is cleared.
void DrawSpectrumPlot(Canvas& canvas, const SpectrumResult& result, bool bFinal, double* pLastScale);

// "Kaplan-Yorke-Dimension: ..." with the mean number of neighbours, centred.
void DrawKaplanYorkeText(Canvas& canvas, const SpectrumResult& result);

// Local slopes against radius; when x1 and x2 (pixel columns) are both non-zero also
// the plateau of every embedding dimension, fitted to the slopes between them.
// Returns the plateau values (empty without a fit).
std::vector<double> DrawCorrelationPlot(Canvas& canvas, const CorrDimResult& result, int x1, int x2);

// Pixel column of a radius in the correlation plot of width w (0 for an empty result).
int CorrelationRadiusColumn(const CorrDimResult& result, int w, double dRadius);

// A value with 4 significant digits: "2.346", "0.01230", "-12.00".
std::string FourDigitText(double value);
