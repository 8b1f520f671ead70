// The two ways a picture reaches a back end's area.
#include "platform/present/picturesender.h"

#include "platform/present/sharpscale.h"

#include <algorithm>

namespace platform
{

void PictureSender::Place(BackEnd& backEnd, int pictureWidth, int pictureHeight)
{
    int width = 0, height = 0;
    backEnd.AreaSize(width, height);
    m_View = FitView(pictureWidth, pictureHeight, width, height);
    m_bStale = true;
}

bool PictureSender::Send(BackEnd& backEnd, const PixelBuffer& picture,
                         const std::vector<RECT>& changed)
{
    const std::vector<RECT> whole{{0, 0, picture.Width(), picture.Height()}};
    if (backEnd.ScalesItself())
        return SendConverted(backEnd, picture, changed.empty() ? whole : changed);
    return SendScaled(backEnd, picture, changed.empty() ? whole : changed);
}

bool PictureSender::SendConverted(BackEnd& backEnd, const PixelBuffer& picture,
                                  const std::vector<RECT>& rects)
{
    const std::vector<std::uint32_t>& colours =
        m_Colours.Of(picture.BitsPerPixel(), backEnd.UploadFormat());
    for (const RECT& r : rects)
    {
        const int width = r.right - r.left;
        m_Converted.resize(static_cast<std::size_t>(width) * (r.bottom - r.top));
        ConvertRect(picture, r, colours, reinterpret_cast<std::uint8_t*>(m_Converted.data()),
                    4 * width);
        if (!backEnd.Upload(r, m_Converted.data(), 4 * width))
            return false;
    }
    // The area may have changed its size since the last picture.
    Place(backEnd, picture.Width(), picture.Height());
    m_bStale = false;
    return backEnd.ShowPicture(m_View);
}

bool PictureSender::SendScaled(BackEnd& backEnd, const PixelBuffer& picture,
                               std::vector<RECT> rects)
{
    AreaPixels area;
    if (!backEnd.LockArea(area))
        return false;
    const bool whole = m_bStale || area.fresh;
    if (whole)
    {
        // A new area starts black around the picture.
        m_View = FitView(picture.Width(), picture.Height(), area.width, area.height);
        m_Scaler.Place(picture.Width(), picture.Height(), m_View);
        const std::uint32_t black = MapRgb(area.format, {0, 0, 0});
        for (int y = 0; y < area.height; ++y)
        {
            auto* row = reinterpret_cast<std::uint32_t*>(area.pixels +
                                                         static_cast<std::size_t>(y) * area.pitch);
            std::fill(row, row + area.width, black);
        }
        rects.assign(1, {0, 0, picture.Width(), picture.Height()});
        m_bStale = false;
    }
    std::vector<RECT> drawn;
    for (const RECT& r : rects)
        if (const RECT d = m_Scaler.Scale(picture, r, m_Colours, area); d.right > d.left)
            drawn.push_back(d);
    if (whole)
        return backEnd.ShowArea({});
    return drawn.empty() || backEnd.ShowArea(drawn);
}

} // namespace platform
