// The stage of a modal box or dialog: the picture the display showed last,
// on which the box paints itself and which is shown again when it closes.
// The system cursor is visible for the box's time.
#pragma once

#include "platform/win32/pixelbuffer.h"

#include <optional>

namespace platform
{

class ModalOverlay
{
public:
    ModalOverlay();
    ~ModalOverlay();
    ModalOverlay(const ModalOverlay&) = delete;
    ModalOverlay& operator=(const ModalOverlay&) = delete;

    int Width() const { return m_Background.Width(); }
    int Height() const { return m_Background.Height(); }

    // A copy of the picture behind, at 16 bits per pixel so that the grey of
    // the boxes stays grey in the 8-bit mode too.
    PixelBuffer Canvas() const { return m_Background; }
    void Show(const PixelBuffer& picture);

private:
    PixelBuffer m_Background;
    std::optional<PixelBuffer> m_Shown; // what to put back; none before the first picture
};

} // namespace platform
