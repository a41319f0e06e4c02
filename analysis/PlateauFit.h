// Least-squares constant (the plateau) through the local slopes of one
// embedding dimension, found by the Levenberg-Marquardt minimiser lmdif.
#pragma once

#include <span>

class PlateauFit {
public:
    static constexpr double kStart = 1.0; // start value, kept when there is nothing to fit

    // The constant p minimising the sum of (value - p)^2; kStart for no values.
    static double Fit(std::span<const double> values);
};
