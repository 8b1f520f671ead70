// The clipping of a blit to a rectangle, for the crosshair at the screen's edges.
#include "display/cliptorect.h"

void ClipToRect(LONG& x, LONG& y, RECT& source, const RECT& clip)
{
    if (x + (source.right - source.left) > clip.right)
        source.right = clip.right - x + source.left;
    if (x < clip.left)
    {
        source.left += clip.left - x;
        x = clip.left;
    }
    if (y < clip.top)
    {
        source.top += clip.top - y;
        y = clip.top;
    }
    if (y + (source.bottom - source.top) > clip.bottom)
        source.bottom = clip.bottom - y + source.top;
}
