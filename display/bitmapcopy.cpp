// Copying a bitmap resource or file into a surface through GDI, and reloading it after a loss.
#include "display/bitmapcopy.h"

#include "display/cdxsurface.h"

namespace
{

HBITMAP LoadBitmapByName(const char* name)
{
    if (!name)
        return nullptr;
    HANDLE image =
        LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (!image)
        image =
            LoadImageA(nullptr, name, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    return static_cast<HBITMAP>(image);
}

} // namespace

DWORD PlacementCaps(int placement)
{
    if (placement == PLACEMENT_VIDEO_MEMORY)
        return DDSCAPS_VIDEOMEMORY;
    if (placement == PLACEMENT_SYSTEM_MEMORY)
        return DDSCAPS_SYSTEMMEMORY;
    return 0;
}

IDirectDrawSurface4* CreateSurfaceFromBitmap(IDirectDraw4* directDraw, const char* name,
                                             int placement, int& width, int& height)
{
    if (!directDraw)
        return nullptr;
    HBITMAP bitmap = LoadBitmapByName(name);
    if (!bitmap)
        return nullptr;

    BITMAP info{};
    GetObjectA(bitmap, sizeof(info), &info);

    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.dwWidth = static_cast<DWORD>(info.bmWidth);
    desc.dwHeight = static_cast<DWORD>(info.bmHeight);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | PlacementCaps(placement);

    IDirectDrawSurface4* surface = nullptr;
    if (FAILED(directDraw->CreateSurface(&desc, &surface, nullptr)) || !surface)
    {
        DeleteObject(bitmap);
        return nullptr;
    }
    CopyBitmapToSurface(surface, bitmap, 0, 0, 0, 0);
    DeleteObject(bitmap);

    width = info.bmWidth;
    height = info.bmHeight;
    return surface;
}

HRESULT CopyBitmapToSurface(IDirectDrawSurface4* surface, HBITMAP bitmap, int x, int y, int width,
                            int height)
{
    if (!bitmap || !surface)
        return E_FAIL;

    surface->Restore();

    // Without a memory context the copy below transfers nothing.
    HDC memoryDC = CreateCompatibleDC(nullptr);
    if (memoryDC)
        SelectObject(memoryDC, bitmap);
    else
        // By design: the debug texts are the loader's own, spelling included.
        OutputDebugStringA("createcompatible dc failed\n");

    BITMAP info{};
    GetObjectA(bitmap, sizeof(info), &info);
    if (width == 0)
        width = info.bmWidth;
    if (height == 0)
        height = info.bmHeight;

    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_HEIGHT | DDSD_WIDTH;
    surface->GetSurfaceDesc(&desc);

    HDC surfaceDC = nullptr;
    const HRESULT result = surface->GetDC(&surfaceDC);
    if (SUCCEEDED(result))
    {
        if (memoryDC)
            StretchBlt(surfaceDC, 0, 0, static_cast<int>(desc.dwWidth),
                       static_cast<int>(desc.dwHeight), memoryDC, x, y, width, height, SRCCOPY);
        surface->ReleaseDC(surfaceDC);
    }
    if (memoryDC)
        DeleteDC(memoryDC);
    return result;
}

HRESULT ReloadBitmap(IDirectDrawSurface4* surface, const char* name)
{
    HBITMAP bitmap = LoadBitmapByName(name);
    if (!bitmap)
    {
        OutputDebugStringA("handle is null\n");
        return E_FAIL;
    }
    const HRESULT result = CopyBitmapToSurface(surface, bitmap, 0, 0, 0, 0);
    if (FAILED(result))
        OutputDebugStringA("ddcopybitmap failed\n");
    DeleteObject(bitmap);
    return result;
}
