// The full-screen display: the DirectDraw object, the display mode and the
// primary surface with its one back buffer.
#pragma once

#include "platform/ddraw.h"

class CdxSurface;

class CdxScreen
{
public:
    CdxScreen();
    ~CdxScreen();
    CdxScreen(const CdxScreen&) = delete;
    CdxScreen& operator=(const CdxScreen&) = delete;

    int CreateFullScreen(HWND window, DWORD width, DWORD height, DWORD bitsPerPixel,
                         int standardVgaMode);
    HRESULT Flip(int wait);
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
};
