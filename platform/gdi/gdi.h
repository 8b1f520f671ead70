// The GDI subset: text on a surface's device context, device-independent
// bitmaps from the program's resources or from files, and copies between them.
#pragma once

#include "platform/win32/win32.h"

struct HDC__;
using HDC = HDC__*;
struct HBITMAP__;
using HBITMAP = HBITMAP__*;
using HGDIOBJ = void*;

struct BITMAP
{
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};

struct BITMAPINFOHEADER
{
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};

struct RGBQUAD
{
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

struct BITMAPINFO
{
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
constexpr DWORD BI_RGB = 0;
constexpr UINT DIB_RGB_COLORS = 0;
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr int GDI_ERROR = -1;
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT LR_CREATEDIBSECTION = 0x00002000;
constexpr UINT LR_LOADFROMFILE = 0x00000010;

int SetBkMode(HDC dc, int mode);
COLORREF SetTextColor(HDC dc, COLORREF colour);
BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length);

HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
int GetObjectA(HGDIOBJ object, int size, LPVOID buffer);

BOOL StretchBlt(HDC dest, int xDest, int yDest, int widthDest, int heightDest, HDC source,
                int xSource, int ySource, int widthSource, int heightSource, DWORD rop);
int StretchDIBits(HDC dest, int xDest, int yDest, int widthDest, int heightDest, int xSource,
                  int ySource, int widthSource, int heightSource, const void* bits,
                  const BITMAPINFO* info, UINT usage, DWORD rop);

// A bitmap resource of the program (module from GetModuleHandleA) or, with
// LR_LOADFROMFILE and no module, a Windows bitmap file. 4 and 24 bits per pixel.
HANDLE LoadImageA(HINSTANCE module, LPCSTR name, UINT type, int width, int height, UINT flags);
