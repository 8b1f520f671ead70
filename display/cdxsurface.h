// One image in a DirectDraw surface, drawn into another surface (in the game
// always the screen's back buffer) opaque, colour-keyed or clipped; also the
// text output through GDI and the loading of images by name.
#pragma once

#include "display/cscenerecording.h"
#include "platform/ddraw/ddraw.h"

class CdxScreen;

// Where a surface's memory lies, the placement argument below; any value past
// these lets DirectDraw choose as well.
enum SurfacePlacement : int
{
    PLACEMENT_VIDEO_MEMORY = 0,
    PLACEMENT_SYSTEM_MEMORY = 1,
    PLACEMENT_DISPLAY_CHOOSES = 2,
};

class CdxSurface
{
    friend class CdxScreen;

public:
    CdxSurface();
    // Loads the named image; the load's result is not available to the caller.
    CdxSurface(CdxScreen* screen, const char* name, int placement);
    virtual ~CdxSurface();
    CdxSurface(const CdxSurface&) = delete;
    CdxSurface& operator=(const CdxSurface&) = delete;

    // The drawing operations, in their table order. Each copies this surface
    // into the destination and returns the DirectDraw result; a lost surface
    // is restored and reloaded, and the blit is not repeated. Into a
    // destination that records, the copy is recorded instead.
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

    // 1 on success, 0 on failure.
    int Create(CdxScreen* screen, int width, int height, int placement);
    // The name is kept, not copied: it must live as long as the surface.
    int Load(CdxScreen* screen, const char* name, int placement);
    int LoadPsd(CdxScreen* screen, const char* name, int placement);

    HRESULT SetColourKey(DWORD value);
    HRESULT GetDC();
    HRESULT ReleaseDC();
    // Text on a transparent background in the default font, top-left corner at
    // (x, y), on the device context taken with GetDC.
    BOOL PrintText(int x, int y, COLORREF colour, const char* text);
    HRESULT RestoreAndReload();
    // Changes whenever the pixels may have changed; 0 without an image.
    DWORD Uniqueness() const;

    // While set, what is drawn into this surface (blits, fills, text) is
    // recorded there instead; the calls return DD_OK.
    void RecordInto(CSceneRecording* recording) { m_pRecording = recording; }
    CSceneRecording* Recording() const { return m_pRecording; }
    // Makes a recorded call into this surface; text is the call's text.
    HRESULT Perform(const SceneCall& call, const char* text);

    int m_nWidth = 0;
    int m_nHeight = 0;
    const char* m_pszName = nullptr;
    HDC m_hDC = nullptr;
    RECT m_rcSource{};
    RECT m_rcDest{};
    IDirectDrawSurface4* m_pSurface = nullptr;
    CdxScreen* m_pOwner = nullptr;

private:
    // Takes over a new surface and one reference to the DirectDraw object it
    // came from, so that the object outlives the screen until this surface is
    // released.
    void Attach(IDirectDrawSurface4* surface, IDirectDraw4* directDraw);
    void ReleaseSurface();
    // Where a finished creation or load leaves the members.
    void SetImage(CdxScreen* screen, int width, int height, const char* name);
    IDirectDrawSurface4* ImageOf(CdxSurface* dest, const char* operation) const;
    [[noreturn]] static void NoImage(const char* operation);
    HRESULT AfterBlit(HRESULT result);
    // This surface copied into dest, or the copy recorded if dest records:
    // a BltFast of the rectangle from to (x, y), a Blt into to.
    HRESULT Fast(CdxSurface* dest, LONG x, LONG y, const RECT& from, DWORD flags);
    HRESULT Blit(CdxSurface* dest, const RECT* to, const RECT* from, DWORD flags, DWORD value);
    // The call made into dest, or recorded if dest records.
    static HRESULT Issue(CdxSurface* dest, SceneCall call);

    IDirectDraw4* m_pDirectDraw = nullptr; // the reference that belongs to m_pSurface
    CSceneRecording* m_pRecording = nullptr;
};
