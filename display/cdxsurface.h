// One image in a DirectDraw surface, drawn into another surface (in the game
// always the screen's back buffer) opaque, colour-keyed or clipped; also the
// text output through GDI and the loading of images by name.
#pragma once

#include "platform/ddraw.h"

class CdxScreen;

class CdxSurface
{
public:
    CdxSurface();
    CdxSurface(CdxScreen* screen, const char* name, int placement);
    virtual ~CdxSurface();
    CdxSurface(const CdxSurface&) = delete;
    CdxSurface& operator=(const CdxSurface&) = delete;

    virtual HRESULT Draw(CdxSurface* dest);
    virtual HRESULT DrawFast(int x, int y, CdxSurface* dest);
    virtual HRESULT DrawFastKeyed(int x, int y, CdxSurface* dest);
    virtual HRESULT DrawFastKeyedClipped(int x, int y, CdxSurface* dest, RECT* clip);
    virtual HRESULT DrawToWindow(CdxSurface* dest);
    virtual HRESULT DrawZoomed(int x, int y, int zoomX, int zoomY, CdxSurface* dest);
    virtual HRESULT DrawScaled(int x, int y, float scale, CdxSurface* dest);
    virtual HRESULT MirrorHorizontal(int, int, int);
    virtual HRESULT MirrorVertical(int, int, int);
    virtual void Placeholder(int, int, int, int, int);

    int Create(CdxScreen* screen, int width, int height, int placement);
    int Load(CdxScreen* screen, const char* name, int placement);
    int LoadPsd(CdxScreen* screen, const char* name, int placement);
    HRESULT SetColourKey(DWORD value);
    HRESULT GetDC();
    HRESULT ReleaseDC();
    BOOL PrintText(int x, int y, COLORREF colour, const char* text);
    HRESULT RestoreAndReload();

    int m_nWidth = 0;
    int m_nHeight = 0;
    const char* m_pszName = nullptr;
    HDC m_hDC = nullptr;
    RECT m_rcSource{};
    RECT m_rcDest{};
    IDirectDrawSurface4* m_pSurface = nullptr;
    CdxScreen* m_pOwner = nullptr;
};
