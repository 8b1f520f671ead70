// The picture on the screen and what a new one changes of it: only what
// changed is sent to the back end again, and a picture equal to the shown
// one not at all.
#pragma once

#include "platform/win32/pixelbuffer.h"
#include "platform/win32/win32.h"

#include <optional>
#include <vector>

namespace platform
{

// Rows [top, bottom) of a picture.
struct Rows
{
    int top = 0;
    int bottom = 0;
};

// The rectangles in which picture differs from shown within rows, taking the
// changed rows into shown: bands of adjacent changed rows, each as wide as
// its changes, or one rectangle around too many of them. Both pictures have
// the same size and depth.
std::vector<RECT> TakeChanges(PixelBuffer& shown, const PixelBuffer& picture, Rows rows);

class ShownPicture
{
public:
    // What a new picture changed: all of it (the first, or one of another
    // size or depth), some rectangles, or nothing.
    struct Changes
    {
        bool whole = false;
        std::vector<RECT> rects;
        bool Any() const { return whole || !rects.empty(); }
    };

    // Takes picture as the one shown. A flip chain presents its two buffers
    // in turn and tells the rows written into each since it was last
    // presented: only those and the rows the last present changed can differ
    // from the screen, so only they are compared. Without written, all are.
    Changes Take(const PixelBuffer& picture, std::optional<Rows> written);

    // Null before the first picture.
    const PixelBuffer* Picture() const { return m_Shown ? &*m_Shown : nullptr; }
    void Forget() { m_Shown.reset(); }

private:
    std::optional<PixelBuffer> m_Shown;
    // Whether the last picture told its written rows, and the rows it changed.
    bool m_bLastWritten = false;
    Rows m_LastChangedRows;
};

} // namespace platform
