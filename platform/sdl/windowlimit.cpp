// Bringing a window's size within the limit, aspect kept.
#include "platform/sdl/windowlimit.h"

#include <algorithm>
#include <cmath>

namespace platform
{

WindowSize AllowedWindowSize(int width, int height)
{
    width = std::max(width, 1);
    height = std::max(height, 1);
    const double pixels = static_cast<double>(width) * height;
    const double scale = std::min({1.0, static_cast<double>(kLongestWindowSide) / width,
                                   static_cast<double>(kLongestWindowSide) / height,
                                   std::sqrt(static_cast<double>(kMostWindowPixels) / pixels)});
    if (scale >= 1.0)
        return {width, height};
    return {std::max(1, static_cast<int>(width * scale)),
            std::max(1, static_cast<int>(height * scale))};
}

} // namespace platform
