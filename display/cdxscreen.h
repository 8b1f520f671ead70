// The full-screen display: the DirectDraw object, the display mode and the
// primary surface with its one back buffer.
#pragma once

#include "platform/ddraw/ddraw.h"

class CdxSurface;

class CdxScreen
{
public:
    // Makes the DirectDraw object; a failure is reported, and the operations
    // that need the object raise CdxError later.
    CdxScreen();
    // Restores the display mode and releases the flip chain. Images made from
    // this screen may outlive it: each holds its own DirectDraw reference.
    ~CdxScreen();
    CdxScreen(const CdxScreen&) = delete;
    CdxScreen& operator=(const CdxScreen&) = delete;

    // Exclusive full screen with one back buffer; returns 1. Failures are
    // reported; raises CdxError when there is no primary or back surface.
    int CreateFullScreen(HWND window, DWORD width, DWORD height, DWORD bitsPerPixel,
                         int standardVgaMode);
    // Wait 1 paces to the display; a lost chain is restored, not redrawn.
    HRESULT Flip(int wait);
    // The whole back buffer in one raw pixel value of the mode's format.
    HRESULT Fill(DWORD colour);

    IDirectDraw4* m_pDirectDraw = nullptr;
    CdxSurface* m_pFrontSurface = nullptr;
    CdxSurface* m_pBackSurface = nullptr;
    DWORD m_nWidth = 0;
    DWORD m_nHeight = 0;
    DWORD m_nBitsPerPixel = 0;
    HWND m_hWnd = nullptr;

private:
    void RestoreLost();
    void DeleteChain();
};
