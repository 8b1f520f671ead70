// The intro shown once at start: the logo, then the presents picture, each
// centred on the black display for a fixed time. A key or a click cuts it
// short, a close request ends it; nothing typed or clicked during it reaches
// the menu.
#pragma once

#include "platform/win32/win32.h"

class CdxScreen;
class CdxSurface;

class CIntro
{
public:
    CIntro() = default;
    virtual ~CIntro();
    CIntro(const CIntro&) = delete;
    CIntro& operator=(const CIntro&) = delete;

    // Borrowed; without a display the intro shows nothing.
    void SetScreen(CdxScreen* screen);
    // Blocks for 2.5 + 1.5 seconds at most; its two images live only for this call.
    void Run();

private:
    // False when the intro was cut short.
    bool ShowCentred(CdxSurface* image, DWORD milliseconds);
    // Holds the picture for its time while the window's input comes; false
    // when a key, a click or a close request cut it short.
    static bool Hold(DWORD milliseconds);
    // Drops the input waiting now and what comes within that time.
    static void DropInput(DWORD milliseconds);
    void ReleaseImages();

    CdxSurface* m_pLogo = nullptr;
    CdxSurface* m_pPresents = nullptr;
    CdxScreen* m_pScreen = nullptr;
};
