// Comparing a new picture with the shown one, row by row within the rows that
// can differ.
#include "platform/present/shownpicture.h"

#include <algorithm>
#include <cstring>

namespace platform
{

namespace
{

// More changed areas than this are shown as the one rectangle around them.
constexpr std::size_t kMostChangedAreas = 16;

// The bytes [first, last) of a row within which now and before differ; the
// row differs somewhere.
std::pair<std::size_t, std::size_t> DifferingBytes(const std::uint8_t* now,
                                                   const std::uint8_t* before, std::size_t pitch)
{
    // Eight bytes at a time up to the first and last difference, then bytewise.
    const auto same8 = [&](std::size_t at)
    {
        std::uint64_t a, b;
        std::memcpy(&a, now + at, 8);
        std::memcpy(&b, before + at, 8);
        return a == b;
    };
    std::size_t first = 0, last = pitch;
    while (first + 8 <= pitch && same8(first))
        first += 8;
    while (now[first] == before[first])
        ++first;
    while (last >= first + 8 && same8(last - 8))
        last -= 8;
    while (now[last - 1] == before[last - 1])
        --last;
    return {first, last};
}

} // namespace

std::vector<RECT> TakeChanges(PixelBuffer& shown, const PixelBuffer& picture, Rows rows)
{
    std::vector<RECT> changed;
    const int bytesPerPixel = picture.BytesPerPixel();
    const std::size_t pitch = static_cast<std::size_t>(picture.Pitch());
    bool open = false;
    for (int y = std::max(rows.top, 0); y < std::min(rows.bottom, picture.Height()); ++y)
    {
        const std::uint8_t* now = picture.Row(y);
        std::uint8_t* before = shown.Row(y);
        if (std::memcmp(now, before, pitch) == 0)
        {
            open = false;
            continue;
        }
        const auto [first, last] = DifferingBytes(now, before, pitch);
        const LONG left = static_cast<LONG>(first) / bytesPerPixel;
        const LONG right = static_cast<LONG>(last + bytesPerPixel - 1) / bytesPerPixel;
        std::memcpy(before, now, pitch);
        if (!open)
            changed.push_back({left, y, right, y + 1});
        else
        {
            RECT& band = changed.back();
            band.left = std::min(band.left, left);
            band.right = std::max(band.right, right);
            band.bottom = y + 1;
        }
        open = true;
    }
    if (changed.size() > kMostChangedAreas)
    {
        RECT all = changed.front();
        for (const RECT& r : changed)
            all = {std::min(all.left, r.left), std::min(all.top, r.top),
                   std::max(all.right, r.right), std::max(all.bottom, r.bottom)};
        changed.assign(1, all);
    }
    return changed;
}

ShownPicture::Changes ShownPicture::Take(const PixelBuffer& picture, std::optional<Rows> written)
{
    const bool comparable = m_Shown && m_Shown->Width() == picture.Width() &&
                            m_Shown->Height() == picture.Height() &&
                            m_Shown->BitsPerPixel() == picture.BitsPerPixel();
    Changes changes;
    Rows rows{0, picture.Height()};
    if (written && m_bLastWritten)
        rows = {std::min(written->top, m_LastChangedRows.top),
                std::max(written->bottom, m_LastChangedRows.bottom)};
    if (comparable)
        changes.rects = TakeChanges(*m_Shown, picture, rows);
    else
    {
        m_Shown = picture;
        changes.whole = true;
    }
    m_bLastWritten = comparable && written;
    m_LastChangedRows = {picture.Height(), 0};
    for (const RECT& r : changes.rects)
        m_LastChangedRows = {std::min<int>(m_LastChangedRows.top, r.top),
                             std::max<int>(m_LastChangedRows.bottom, r.bottom)};
    return changes;
}

} // namespace platform
