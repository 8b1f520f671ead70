// Sharp scaling on the CPU, for a back end that lends its area's pixels:
// each changed rectangle of the picture is scaled into the area, every area
// pixel blending at most two picture pixels along each axis.
#pragma once

#include "platform/present/colourtable.h"
#include "platform/present/sharpscale.h"
#include "platform/win32/backend.h"
#include "platform/win32/pixelbuffer.h"

#include <cstdint>
#include <vector>

namespace platform
{

class SharpScaler
{
public:
    // Scales a picture of that size into view from now on.
    void Place(int pictureWidth, int pictureHeight, const View& view);
    const View& Placed() const { return m_View; }

    // Scales rectangle r of picture into the area's view; returns the area
    // rectangle drawn, empty where r shows nowhere.
    RECT Scale(const PixelBuffer& picture, const RECT& r, ColourTable& colours, AreaPixels& area);

private:
    // Picture row sourceRow scaled across the view columns [left, right).
    const std::uint32_t* ScaledRow(const PixelBuffer& picture, int sourceRow, int left, int right,
                                   const std::vector<std::uint32_t>& colours);

    int m_nPictureWidth = 0;
    int m_nPictureHeight = 0;
    View m_View;
    std::vector<SharpTap> m_ColumnTaps;
    std::vector<SharpTap> m_RowTaps;
    // Of each column: the picture pixel it shows and the one it blends in,
    // and its weight, once per byte.
    std::vector<std::uint32_t> m_FirstColumns;
    std::vector<std::uint32_t> m_NextColumns;
    std::vector<std::uint8_t> m_ColumnWeights;
    // A picture row converted, and the two picture rows scaled last across the view.
    std::vector<std::uint32_t> m_ConvertedRow;
    std::vector<std::uint32_t> m_ScaledRows[2];
    int m_ScaledRowSource[2] = {-1, -1};
};

} // namespace platform
