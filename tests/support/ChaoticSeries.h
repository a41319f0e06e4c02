// Chaotic test series with known invariants: the x component of the Hénon map
// and of the Lorenz system, from fixed initial conditions after a transient.
#pragma once

#include <cstddef>
#include <vector>

// Hénon map x(n+1) = 1 - a x(n)^2 + y(n), y(n+1) = b x(n) with a = 1.4, b = 0.3.
inline std::vector<double> HenonX(std::size_t n)
{
    double x = 0.1;
    double y = 0.1;
    std::vector<double> out;
    out.reserve(n);
    for (std::size_t i = 0; i < n + 1000; ++i) {
        const double next = 1.0 - 1.4 * x * x + y;
        y = 0.3 * x;
        x = next;
        if (i >= 1000)
            out.push_back(x);
    }
    return out;
}

// Lorenz system (sigma 10, rho 28, beta 8/3) integrated by fourth-order
// Runge-Kutta with step 0.001; x sampled every dt = 0.01 after 50 time units.
inline std::vector<double> LorenzX(std::size_t n)
{
    struct State {
        double x, y, z;
    };
    auto deriv = [](const State& s) {
        return State{10.0 * (s.y - s.x), s.x * (28.0 - s.z) - s.y, s.x * s.y - 8.0 / 3.0 * s.z};
    };
    auto add = [](const State& s, const State& d, double h) { return State{s.x + h * d.x, s.y + h * d.y, s.z + h * d.z}; };
    State s{1.0, 1.0, 1.0};
    constexpr double h = 0.001;
    constexpr int perSample = 10;
    constexpr int transient = 50000;
    std::vector<double> out;
    out.reserve(n);
    for (std::size_t step = 0; out.size() < n; ++step) {
        const State k1 = deriv(s);
        const State k2 = deriv(add(s, k1, h / 2));
        const State k3 = deriv(add(s, k2, h / 2));
        const State k4 = deriv(add(s, k3, h));
        s = State{s.x + h / 6 * (k1.x + 2 * k2.x + 2 * k3.x + k4.x), s.y + h / 6 * (k1.y + 2 * k2.y + 2 * k3.y + k4.y),
                  s.z + h / 6 * (k1.z + 2 * k2.z + 2 * k3.z + k4.z)};
        if (step + 1 >= transient && (step + 1) % perSample == 0)
            out.push_back(s.x);
    }
    return out;
}
