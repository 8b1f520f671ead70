// The object behind an HDC: either a surface's context, which draws into the
// surface's pixels, or a memory context holding a selected bitmap as the
// source of a StretchBlt.
#pragma once

#include "platform/win32/win32.h"

namespace platform
{

class DiBitmap;
class PixelBuffer;

class DeviceContext
{
public:
    // A surface's context; the surface outlives it.
    explicit DeviceContext(PixelBuffer& target) : m_pTarget(&target) {}
    // A memory context; it starts with no bitmap of its own (the stock one).
    DeviceContext() = default;
    ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    PixelBuffer* Target() const { return m_pTarget; }
    // The selected bitmap; null for the stock bitmap.
    DiBitmap* Bitmap() const { return m_pBitmap; }
    // Selects a bitmap (null: the stock one) and hands out the one before.
    // False when this is a surface's context or the bitmap is selected into
    // another context.
    bool Select(DiBitmap* bitmap, DiBitmap*& previous);

    int BkMode() const { return m_nBkMode; }
    void SetBkMode(int mode) { m_nBkMode = mode; }
    COLORREF TextColour() const { return m_TextColour; }
    void SetTextColour(COLORREF colour) { m_TextColour = colour; }
    COLORREF BkColour() const { return m_BkColour; }

private:
    PixelBuffer* m_pTarget = nullptr;
    DiBitmap* m_pBitmap = nullptr;
    int m_nBkMode = 2; // OPAQUE, as a new context starts
    COLORREF m_TextColour = 0;
    COLORREF m_BkColour = 0x00FFFFFF;
};

} // namespace platform
