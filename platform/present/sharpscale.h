// Where the picture stands in an area and which picture pixels each area
// pixel shows: scaled by the largest whole multiple with nearest neighbour,
// then by the rest of the factor smoothly, so that every picture pixel is
// equally wide and edges stay crisp. Also the pointer's way between area and
// picture pixels.
#pragma once

#include "platform/win32/backend.h"

#include <utility>
#include <vector>

namespace platform
{

// The picture's place in an area of that size (none in an empty area).
View FitView(int pictureWidth, int pictureHeight, int areaWidth, int areaHeight);

// True when the view is exactly the whole multiple: no smoothing at all.
inline bool IsWhole(const View& view, int pictureWidth, int pictureHeight)
{
    return view.width == pictureWidth * view.whole && view.height == pictureHeight * view.whole;
}

// The picture pixel that area pixel (x, y) shows; a point in the bars or
// outside the area goes to the nearest picture pixel. An empty view maps
// one to one.
POINT AreaToPicture(const View& view, int pictureWidth, int pictureHeight, int x, int y);
// The area pixel in the middle of picture pixel p.
POINT PictureToArea(const View& view, int pictureWidth, int pictureHeight, POINT p);

// One area pixel along an axis: the picture pixel it shows and how much of
// the next one (in 256ths) is blended in. Both lie inside the picture.
struct SharpTap
{
    int first = 0;
    int weight = 0;
};

// The taps of the view pixels [0, view) for a picture of size pixels, as a
// bilinear step from the picture scaled by whole with nearest neighbour.
std::vector<SharpTap> SharpTaps(int size, int whole, int view);

// The view pixels [first, last) that show anything of the picture pixels
// [from, to), for taps from SharpTaps.
std::pair<int, int> SharpSpan(const std::vector<SharpTap>& taps, int from, int to);

} // namespace platform
