// Sends the picture, or the rectangles of it that changed, to the back end
// by its way of scaling: converted, to a back end that scales itself; else
// scaled sharp into the area's pixels here. Keeps the picture's place in the
// area, and with it the pointer's mapping.
#pragma once

#include "platform/present/colourtable.h"
#include "platform/present/sharpscaler.h"
#include "platform/win32/backend.h"
#include "platform/win32/pixelbuffer.h"

#include <cstdint>
#include <vector>

namespace platform
{

class PictureSender
{
public:
    // Places a picture of that size in the area as it is now; the next send
    // shows it whole.
    void Place(BackEnd& backEnd, int pictureWidth, int pictureHeight);
    // Shows the changed rectangles of picture (all of it when none are
    // given); false when the area could not take them.
    bool Send(BackEnd& backEnd, const PixelBuffer& picture, const std::vector<RECT>& changed);

    const View& Placed() const { return m_View; }

private:
    bool SendConverted(BackEnd& backEnd, const PixelBuffer& picture,
                       const std::vector<RECT>& rects);
    bool SendScaled(BackEnd& backEnd, const PixelBuffer& picture, std::vector<RECT> rects);

    View m_View;
    bool m_bStale = true; // the area is to be drawn whole
    ColourTable m_Colours;
    SharpScaler m_Scaler;
    std::vector<std::uint32_t> m_Converted; // one rectangle, for a back end that scales
};

} // namespace platform
