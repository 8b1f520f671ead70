// Surface and memory device contexts.
#include "platform/gdi/devicecontext.h"

#include "platform/gdi/dibitmap.h"

namespace platform
{

DeviceContext::~DeviceContext()
{
    if (m_pBitmap)
        m_pBitmap->SetSelectedInto(nullptr);
}

bool DeviceContext::Select(DiBitmap* bitmap, DiBitmap*& previous)
{
    if (m_pTarget)
        return false;
    if (bitmap && bitmap->SelectedInto() && bitmap->SelectedInto() != this)
        return false;
    previous = m_pBitmap;
    if (m_pBitmap)
        m_pBitmap->SetSelectedInto(nullptr);
    m_pBitmap = bitmap;
    if (bitmap)
        bitmap->SetSelectedInto(this);
    return true;
}

} // namespace platform
