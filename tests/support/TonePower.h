#pragma once

#include <cmath>
#include <cstddef>
#include <numbers>
#include <vector>

// The power of one frequency in a stretch of samples (the Goertzel filter): how loud a tone of
// that frequency is there. Tests and benchmarks find the tone a recording holds with it.
inline double TonePower(const std::vector<double>& samples, std::size_t start, std::size_t length, double frequency,
    double rate)
{
    const double coefficient = 2 * std::cos(2 * std::numbers::pi * frequency / rate);
    double s1 = 0;
    double s2 = 0;
    for (std::size_t i = start; i < start + length && i < samples.size(); ++i) {
        const double s0 = samples[i] + coefficient * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return s1 * s1 + s2 * s2 - coefficient * s1 * s2;
}
