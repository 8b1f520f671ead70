// The geometry of sharp scaling: the picture's place, each view pixel's taps
// and the pointer's mapping.
#include "platform/present/sharpscale.h"

#include <algorithm>

namespace platform
{

View FitView(int pictureWidth, int pictureHeight, int windowWidth, int windowHeight)
{
    View fit;
    if (pictureWidth <= 0 || pictureHeight <= 0 || windowWidth <= 0 || windowHeight <= 0)
        return fit;
    if (static_cast<long long>(windowWidth) * pictureHeight >
        static_cast<long long>(windowHeight) * pictureWidth)
    {
        fit.height = windowHeight;
        fit.width =
            static_cast<int>(static_cast<long long>(pictureWidth) * windowHeight / pictureHeight);
    }
    else
    {
        fit.width = windowWidth;
        fit.height =
            static_cast<int>(static_cast<long long>(pictureHeight) * windowWidth / pictureWidth);
    }
    fit.x = (windowWidth - fit.width) / 2;
    fit.y = (windowHeight - fit.height) / 2;
    fit.whole = std::max(1, std::min(fit.width / pictureWidth, fit.height / pictureHeight));
    return fit;
}

POINT AreaToPicture(const View& view, int pictureWidth, int pictureHeight, int x, int y)
{
    const auto along = [](int at, int start, int size, int pictureSize)
    {
        if (size <= 0)
            return std::clamp(at, 0, pictureSize - 1);
        // The picture pixel under the area pixel's centre.
        const long long offset = static_cast<long long>(at) - start;
        return offset < 0 ? 0
                          : static_cast<int>(std::min<long long>(
                                (2 * offset + 1) * pictureSize / (2LL * size), pictureSize - 1));
    };
    return {along(x, view.x, view.width, pictureWidth),
            along(y, view.y, view.height, pictureHeight)};
}

POINT PictureToArea(const View& view, int pictureWidth, int pictureHeight, POINT p)
{
    const auto along = [](int at, int start, int size, int pictureSize)
    {
        if (size <= 0)
            return at;
        return start + static_cast<int>((2LL * at + 1) * size / (2LL * pictureSize));
    };
    return {along(p.x, view.x, view.width, pictureWidth),
            along(p.y, view.y, view.height, pictureHeight)};
}

std::vector<SharpTap> SharpTaps(int size, int whole, int view)
{
    std::vector<SharpTap> taps(static_cast<std::size_t>(std::max(view, 0)));
    const long long scaled = static_cast<long long>(size) * whole;
    for (int at = 0; at < view; ++at)
    {
        // The centre of view pixel at, in pixels of the whole-multiple picture
        // (times 2 * view, to stay in integers), less half a pixel: where a
        // bilinear sample of that picture is taken.
        const long long position = (2LL * at + 1) * scaled - view;
        if (position <= 0)
        {
            taps[at] = {0, 0};
            continue;
        }
        const long long pixel = position / (2LL * view);
        const int first = static_cast<int>(pixel / whole);
        const bool blends = pixel + 1 < scaled && (pixel + 1) / whole != first;
        const int weight =
            blends ? static_cast<int>(position % (2LL * view) * 256 / (2LL * view)) : 0;
        taps[at] = {first, weight};
    }
    return taps;
}

std::pair<int, int> SharpSpan(const std::vector<SharpTap>& taps, int from, int to)
{
    // A pixel reaches its first picture pixel, and the next when it blends it.
    const auto begin = std::partition_point(taps.begin(), taps.end(),
                                            [&](const SharpTap& tap)
                                            { return tap.first + (tap.weight > 0) < from; });
    const auto end = std::partition_point(begin, taps.end(),
                                          [&](const SharpTap& tap) { return tap.first < to; });
    return {static_cast<int>(begin - taps.begin()), static_cast<int>(end - taps.begin())};
}

} // namespace platform
