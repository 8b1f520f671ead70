// Handing out window handles and finding the window behind one.
#include "platform/framework/windowregistry.h"

#include "platform/framework/cwnd.h"

#include <algorithm>

namespace platform
{

WindowRegistry& WindowRegistry::Instance()
{
    static WindowRegistry registry;
    return registry;
}

HWND WindowRegistry::Add(CWnd* window)
{
    // Handles are opaque numbers; nothing ever dereferences them.
    const HWND handle = reinterpret_cast<HWND>(m_nNextHandle);
    m_nNextHandle += 4;
    m_Windows.push_back({handle, window});
    return handle;
}

void WindowRegistry::Remove(HWND handle)
{
    std::erase_if(m_Windows, [handle](const Entry& e) { return e.handle == handle; });
}

CWnd* WindowRegistry::Find(HWND handle) const
{
    if (handle == nullptr)
        return nullptr;
    const auto it = std::find_if(m_Windows.begin(), m_Windows.end(),
                                 [handle](const Entry& e) { return e.handle == handle; });
    return it == m_Windows.end() ? nullptr : it->window;
}

std::vector<CWnd*> WindowRegistry::ChildrenOf(const CWnd* parent) const
{
    std::vector<CWnd*> children;
    for (const Entry& e : m_Windows)
        if (e.window->GetParent() == parent)
            children.push_back(e.window);
    return children;
}

} // namespace platform
