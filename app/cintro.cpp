// The two pictures of the intro, each centred and held for its time.
#include "app/cintro.h"

#include "display/cdxerror.h"
#include "display/cdxscreen.h"
#include "display/cdxsurface.h"
#include "display/screensize.h"

namespace
{

constexpr DWORD LOGO_MILLISECONDS = 2500;
constexpr DWORD PRESENTS_MILLISECONDS = 1500;
// Keys typed together with the one that cut the intro short were meant for the
// intro too; the menu comes later than a player can answer it.
constexpr DWORD AFTER_CUT_MILLISECONDS = 150;
// By design: the blank before the comma is the game's own.
constexpr const char* MEMORY_MESSAGE = "Haupt- , Videospeicher ist ausgelastet.";

bool HoldsImage(const CdxSurface* image)
{
    return image != nullptr && image->m_pSurface != nullptr;
}

bool IsInput(UINT message)
{
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
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
        const bool whole = ShowCentred(m_pLogo, LOGO_MILLISECONDS) &&
                           ShowCentred(m_pPresents, PRESENTS_MILLISECONDS);
        DropInput(whole ? 0 : AFTER_CUT_MILLISECONDS);
    }
    else
    {
        // Its own wording and an empty caption, unlike the frame's boxes.
        MessageBoxA(nullptr, MEMORY_MESSAGE, "", MB_OK);
        PostQuitMessage(0);
    }
    ReleaseImages();
}

bool CIntro::ShowCentred(CdxSurface* image, DWORD milliseconds)
{
    m_pScreen->Fill(0);
    image->DrawFast((SCREEN_WIDTH - image->m_nWidth) / 2, (SCREEN_HEIGHT - image->m_nHeight) / 2,
                    m_pScreen->m_pBackSurface);
    m_pScreen->Flip(1);
    return Hold(milliseconds);
}

bool CIntro::Hold(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (DWORD waited = 0; waited < milliseconds; waited = GetTickCount() - start)
    {
        MSG msg;
        // An end the set-up requested waits for the loop: the picture stands its time.
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) || msg.message == WM_QUIT)
        {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - waited, QS_ALLINPUT);
            continue;
        }
        // The close request is left for the frame, which ends the game at once.
        if (msg.message == WM_CLOSE)
            return false;
        PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
        if (msg.message == WM_KEYDOWN || msg.message == WM_LBUTTONDOWN)
            return false;
        DispatchMessageA(&msg);
    }
    return true;
}

void CIntro::DropInput(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (DWORD waited = 0;; waited = GetTickCount() - start)
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && IsInput(msg.message))
            PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
        if (waited >= milliseconds)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - waited, QS_ALLINPUT);
    }
}

void CIntro::ReleaseImages()
{
    delete m_pPresents;
    m_pPresents = nullptr;
    delete m_pLogo;
    m_pLogo = nullptr;
}
