// Every window that exists: the handle given to each CWnd and the object
// behind it. Handles are never reused, so a stale handle finds nothing.
#pragma once

#include "platform/win32/win32.h"

#include <cstdint>
#include <vector>

class CWnd;

namespace platform
{

class WindowRegistry
{
public:
    static WindowRegistry& Instance();

    HWND Add(CWnd* window);
    void Remove(HWND handle);
    // Null for no window or one destroyed.
    CWnd* Find(HWND handle) const;
    // The existing windows whose parent is that window, in creation order.
    std::vector<CWnd*> ChildrenOf(const CWnd* parent) const;

private:
    WindowRegistry() = default;

    struct Entry
    {
        HWND handle;
        CWnd* window;
    };
    std::vector<Entry> m_Windows; // creation order; few windows exist at once
    std::uintptr_t m_nNextHandle = 0x100;
};

} // namespace platform
