#include "writing/WriteSpeeds.h"

#include <cmath>

std::vector<int> WriteSpeeds(int maximum)
{
    std::vector<int> speeds;
    int s = maximum;
    while (s > 0) {
        speeds.push_back(s);
        s = s > 4 ? s - 4 : static_cast<int>(std::nearbyint(s / 2.0));
    }
    return speeds;
}
