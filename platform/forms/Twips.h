#pragma once

#include <cmath>

namespace forms {

// Window geometry is kept in twips at the forms interface; the screen is addressed in pixels at
// the fixed factor the program has always used.
constexpr int TwipsPerPixel = 15;

inline int ToPixels(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixel)); }
inline int ToTwips(int pixels) { return pixels * TwipsPerPixel; }

} // namespace forms
