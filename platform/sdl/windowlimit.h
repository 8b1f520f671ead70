// The largest window the picture is shown in. The window system makes a
// surface of the window's whole size, so a window pulled to an absurd size
// would cost gigabytes (or overflow inside SDL); such a window is asked back
// to the largest size allowed, aspect kept, and shows nothing until it is.
#pragma once

namespace platform
{

struct WindowSize
{
    int width = 0;
    int height = 0;
};

// As many pixels as an 8K screen, and no side longer than 8192.
constexpr int kLongestWindowSide = 8192;
constexpr long long kMostWindowPixels = 7680LL * 4320;

// The size itself when allowed, else the largest allowed size of its aspect.
WindowSize AllowedWindowSize(int width, int height);

} // namespace platform
