// Where the picture stands in a window and which picture pixels each window
// pixel shows: scaled by the largest whole multiple with nearest neighbour,
// then by the rest of the factor smoothly, so that every picture pixel is
// equally wide and edges stay crisp. Both ways of presenting use it.
#pragma once

#include <utility>
#include <vector>

namespace platform
{

struct SharpScale
{
    // The picture's place in the window: as large as fits, aspect kept,
    // centred, with black bars around.
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    // The nearest-neighbour multiple, at least 1.
    int whole = 1;

    static SharpScale Fit(int pictureWidth, int pictureHeight, int windowWidth, int windowHeight);
    // True when the place is exactly the whole multiple: no smoothing at all.
    bool IsWhole(int pictureWidth, int pictureHeight) const
    {
        return width == pictureWidth * whole && height == pictureHeight * whole;
    }
};

// One window pixel along an axis: the picture pixel it shows and how much of
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
