#pragma once

#include <vector>

// The speeds a drive offers below its maximum, fastest first: four less each step while above
// four, then halved (halves rounded to even) down to 1x. 48 gives 48, 44, ... 8, 4, 2, 1; 7
// gives 7, 3, 2, 1. A maximum of 0 or less gives none.
std::vector<int> WriteSpeeds(int maximum);
