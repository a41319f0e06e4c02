// Magnitude spectra and circular autocorrelations of blocks of samples, computed with RealFft.
// A spectrum of an n-point FFT holds n/2+1 values |X_k| / n in the unit of the samples; entry k
// stands for k x sample rate / n hertz.  Every function makes its own engine and scratch arrays.
#pragma once

#include <array>
#include <vector>

// Number of autocorrelation levels kept: the block's own (level 0) and up to ten repetitions.
inline constexpr int kAutocorrelationLevels = 11;

// Largest power of two not greater than count; counts of 0 and 1 (and below) give 1, and
// counts beyond the int range give 2^30.
int LargestPowerOfTwoAtMost(long long count);

// spectrum = magnitude spectrum of the first n values of block (zero-padded when the block is
// shorter).  False, with spectrum untouched, when n is no power of two or memory runs out.
bool ComputeMagnitudeSpectrum(const std::vector<double>& block, int n, std::vector<double>& spectrum);

// output = magnitude spectrum of source[start .. start+n-1].  False, with output untouched, when
// n is no power of two, start < 0, or the source does not hold start + n values.
bool ComputeBlockSpectrum(const std::vector<double>& source, int start, int n, std::vector<double>& output);

// levels[0] = circular autocorrelation R[m] = (1/n^2) sum_j x_j x_(j+m mod n) of the first n values
// of signal (zero-padded); levels[j+1] = the same of levels[j], for j < min(order, 10).  Each level
// written holds n values; levels above min(order, 10) are left as they are; order < 0 counts as 0.
// minIndex = lag of the first minimum of levels[0]: the first lag where it rises again or the last
// lag before it drops to zero or below, at most n/2; kept when R[0] <= 0.
// False, with levels and minIndex untouched, when n is no power of two or memory runs out.
bool ComputeAutocorrelation(const std::vector<double>& signal, int n, int order,
                            std::array<std::vector<double>, kAutocorrelationLevels>& levels, int& minIndex);
