// Scaling rectangles of the picture into an area's pixels: nearest neighbour
// by taps, then blended rows and columns.
#include "platform/present/sharpscaler.h"

#include <algorithm>
#include <cstring>

namespace platform
{

namespace
{

// Blends of rows, byte by byte: each byte of out is the one of from moved
// towards the one of to by a weight in 256ths. Loops of a fixed 16 bytes over
// unaliased rows, so that the compiler does each block at once.
constexpr int kBlendBlock = 16;

// One weight per byte (each pixel's weight four times).
void BlendBytes(const std::uint8_t* __restrict from, const std::uint8_t* __restrict to,
                const std::uint8_t* __restrict weights, std::uint8_t* __restrict out, int bytes)
{
    int i = 0;
    for (; i + kBlendBlock <= bytes; i += kBlendBlock)
        for (int k = 0; k < kBlendBlock; ++k)
            out[i + k] = static_cast<std::uint8_t>(
                (from[i + k] * (256 - weights[i + k]) + to[i + k] * weights[i + k]) >> 8);
    for (; i < bytes; ++i)
        out[i] =
            static_cast<std::uint8_t>((from[i] * (256 - weights[i]) + to[i] * weights[i]) >> 8);
}

// One weight for the whole row.
void BlendBytes(const std::uint8_t* __restrict from, const std::uint8_t* __restrict to, int weight,
                std::uint8_t* __restrict out, int bytes)
{
    const int keep = 256 - weight;
    int i = 0;
    for (; i + kBlendBlock <= bytes; i += kBlendBlock)
        for (int k = 0; k < kBlendBlock; ++k)
            out[i + k] = static_cast<std::uint8_t>((from[i + k] * keep + to[i + k] * weight) >> 8);
    for (; i < bytes; ++i)
        out[i] = static_cast<std::uint8_t>((from[i] * keep + to[i] * weight) >> 8);
}

const std::uint8_t* Bytes(const std::uint32_t* pixels)
{
    return reinterpret_cast<const std::uint8_t*>(pixels);
}

} // namespace

void SharpScaler::Place(int pictureWidth, int pictureHeight, const View& view)
{
    m_nPictureWidth = pictureWidth;
    m_nPictureHeight = pictureHeight;
    m_View = view;
    m_ColumnTaps = SharpTaps(pictureWidth, view.whole, view.width);
    m_RowTaps = SharpTaps(pictureHeight, view.whole, view.height);
    m_FirstColumns.resize(m_ColumnTaps.size());
    m_NextColumns.resize(m_ColumnTaps.size());
    m_ColumnWeights.clear();
    for (const SharpTap& tap : m_ColumnTaps)
        m_ColumnWeights.insert(m_ColumnWeights.end(), 4, static_cast<std::uint8_t>(tap.weight));
}

const std::uint32_t* SharpScaler::ScaledRow(const PixelBuffer& picture, int sourceRow, int left,
                                            int right, const std::vector<std::uint32_t>& colours)
{
    // The two rows kept are the ones a view row blends; the lower one goes.
    for (int kept = 0; kept < 2; ++kept)
        if (m_ScaledRowSource[kept] == sourceRow)
            return m_ScaledRows[kept].data();
    const int slot = m_ScaledRowSource[0] < m_ScaledRowSource[1] ? 0 : 1;
    m_ScaledRowSource[slot] = sourceRow;
    // The picture pixels the columns use, converted once each.
    const int first = m_ColumnTaps[left].first;
    const int last = std::min(m_ColumnTaps[right - 1].first + 1, m_nPictureWidth - 1);
    m_ConvertedRow.resize(static_cast<std::size_t>(last - first + 1));
    ConvertRect(picture, {first, sourceRow, last + 1, sourceRow + 1}, colours,
                reinterpret_cast<std::uint8_t*>(m_ConvertedRow.data()), 0);
    std::vector<std::uint32_t>& row = m_ScaledRows[slot];
    row.resize(m_ColumnTaps.size());
    const bool smooth = !IsWhole(m_View, m_nPictureWidth, m_nPictureHeight);
    std::uint32_t* const nearest = smooth ? m_FirstColumns.data() : row.data();
    for (int x = left; x < right; ++x)
    {
        const SharpTap tap = m_ColumnTaps[x];
        const std::uint32_t* at = &m_ConvertedRow[static_cast<std::size_t>(tap.first - first)];
        nearest[x] = at[0];
        m_NextColumns[x] = at[tap.weight > 0];
    }
    if (smooth)
        BlendBytes(Bytes(m_FirstColumns.data() + left), Bytes(m_NextColumns.data() + left),
                   m_ColumnWeights.data() + 4 * left,
                   reinterpret_cast<std::uint8_t*>(row.data() + left), 4 * (right - left));
    return row.data();
}

RECT SharpScaler::Scale(const PixelBuffer& picture, const RECT& r, ColourTable& colours,
                        AreaPixels& area)
{
    const auto [left, right] = SharpSpan(m_ColumnTaps, r.left, r.right);
    const auto [top, bottom] = SharpSpan(m_RowTaps, r.top, r.bottom);
    if (left >= right || top >= bottom)
        return {};
    const std::vector<std::uint32_t>& table = colours.Of(picture.BitsPerPixel(), area.format);
    // The rows kept scaled belong to another rectangle.
    m_ScaledRowSource[0] = m_ScaledRowSource[1] = -1;
    for (int y = top; y < bottom; ++y)
    {
        auto* out = reinterpret_cast<std::uint32_t*>(
                        area.pixels + static_cast<std::size_t>(m_View.y + y) * area.pitch) +
                    m_View.x;
        const SharpTap tap = m_RowTaps[y];
        const std::uint32_t* upper = ScaledRow(picture, tap.first, left, right, table);
        if (tap.weight == 0)
        {
            std::memcpy(out + left, upper + left, static_cast<std::size_t>(right - left) * 4);
            continue;
        }
        const std::uint32_t* lower = ScaledRow(picture, tap.first + 1, left, right, table);
        BlendBytes(Bytes(upper + left), Bytes(lower + left), tap.weight,
                   reinterpret_cast<std::uint8_t*>(out + left), 4 * (right - left));
    }
    return {m_View.x + left, m_View.y + top, m_View.x + right, m_View.y + bottom};
}

} // namespace platform
