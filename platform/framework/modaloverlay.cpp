// Showing a modal box over the last picture, and that picture again afterwards.
#include "platform/framework/modaloverlay.h"

#include "platform/present/display.h"
#include "platform/win32/screenmode.h"
#include "platform/win32/win32.h"

namespace platform
{

namespace
{

PixelBuffer BackgroundOf(const PixelBuffer* shown)
{
    if (!shown)
        return PixelBuffer(kDesktopWidth, kDesktopHeight, 16);
    PixelBuffer background(shown->Width(), shown->Height(), 16);
    for (int y = 0; y < shown->Height(); ++y)
        for (int x = 0; x < shown->Width(); ++x)
            background.Set(x, y, background.FromRgb(shown->ToRgb(shown->Get(x, y))));
    return background;
}

} // namespace

ModalOverlay::ModalOverlay() : m_Background(BackgroundOf(Display::Instance().ShownPicture()))
{
    if (const PixelBuffer* shown = Display::Instance().ShownPicture())
        m_Shown = *shown;
    ShowCursor(TRUE);
}

ModalOverlay::~ModalOverlay()
{
    ShowCursor(FALSE);
    Display::Instance().Present(m_Shown ? *m_Shown : m_Background, false);
}

void ModalOverlay::Show(const PixelBuffer& picture)
{
    Display::Instance().Present(picture, false);
}

} // namespace platform
