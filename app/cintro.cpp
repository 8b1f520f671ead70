// The two pictures of the intro, each centred and held for its time.
#include "app/cintro.h"

#include "display/cdxerror.h"
#include "display/cdxscreen.h"
#include "display/cdxsurface.h"
#include "display/screensize.h"

namespace
{

constexpr unsigned LOGO_MILLISECONDS = 2500;
constexpr unsigned PRESENTS_MILLISECONDS = 1500;
// By design: the blank before the comma is the game's own.
constexpr const char* MEMORY_MESSAGE = "Haupt- , Videospeicher ist ausgelastet.";

bool HoldsImage(const CdxSurface* image)
{
    return image != nullptr && image->m_pSurface != nullptr;
}

} // namespace

CIntro::~CIntro()
{
    ReleaseImages();
}

void CIntro::SetScreen(CdxScreen* screen)
{
    m_pScreen = screen;
}

void CIntro::Run()
{
    if (!m_pScreen)
        return;
    try
    {
        // Drawn opaque: neither image gets a colour key.
        m_pPresents = new CdxSurface(m_pScreen, "BMP_PRESENTS", PLACEMENT_DISPLAY_CHOOSES);
        m_pLogo = new CdxSurface(m_pScreen, "BMP_LOGO", PLACEMENT_DISPLAY_CHOOSES);
    }
    catch (const CdxError&)
    {
        // Reported below like any image that holds nothing.
    }
    if (HoldsImage(m_pLogo) && HoldsImage(m_pPresents))
    {
        ShowCentred(m_pLogo, LOGO_MILLISECONDS);
        ShowCentred(m_pPresents, PRESENTS_MILLISECONDS);
    }
    else
    {
        // Its own wording and an empty caption, unlike the frame's boxes.
        MessageBoxA(nullptr, MEMORY_MESSAGE, "", MB_OK);
        PostQuitMessage(0);
    }
    ReleaseImages();
}

void CIntro::ShowCentred(CdxSurface* image, unsigned milliseconds)
{
    m_pScreen->Fill(0);
    image->DrawFast((SCREEN_WIDTH - image->m_nWidth) / 2, (SCREEN_HEIGHT - image->m_nHeight) / 2,
                    m_pScreen->m_pBackSurface);
    m_pScreen->Flip(1);
    Sleep(milliseconds);
}

void CIntro::ReleaseImages()
{
    delete m_pPresents;
    m_pPresents = nullptr;
    delete m_pLogo;
    m_pLogo = nullptr;
}
