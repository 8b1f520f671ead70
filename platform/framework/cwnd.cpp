// Windows by handle: creation, text, icon, visibility and message routing.
#include "platform/framework/cwnd.h"

#include "platform/framework/cwinapp.h"
#include "platform/framework/windowregistry.h"
#include "platform/win32/messagequeue.h"
#include "platform/win32/stringtable.h"

using platform::WindowRegistry;

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    if (m_hWnd != nullptr)
        WindowRegistry::Instance().Remove(m_hWnd);
    if (CWinApp* app = AfxGetApp(); app != nullptr && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
}

CWnd* CWnd::FromHandle(HWND window)
{
    return WindowRegistry::Instance().Find(window);
}

void CWnd::CreateHandle(CWnd* parent, int nID, LPCSTR text, DWORD style)
{
    m_hWnd = WindowRegistry::Instance().Add(this);
    m_pParent = parent;
    m_nID = nID;
    m_strText = text;
    m_dwStyle = style;
    m_bVisible = (style & WS_VISIBLE) != 0;
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    const bool wasVisible = m_bVisible;
    const bool show = nCmdShow != SW_HIDE;
    if (m_hWnd != nullptr && show != wasVisible)
    {
        // Sent before the change, as the system does.
        SendMessage(WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
        m_bVisible = show;
        m_dwStyle = show ? (m_dwStyle | WS_VISIBLE) : (m_dwStyle & ~WS_VISIBLE);
    }
    return wasVisible ? TRUE : FALSE;
}

void CWnd::SetWindowText(LPCSTR text)
{
    if (m_hWnd != nullptr)
        SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    else
        m_strText = text;
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    for (CWnd* child : WindowRegistry::Instance().ChildrenOf(this))
        if (child->m_nID == nID)
            return child;
    return nullptr;
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon)
{
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

int CWnd::MessageBox(LPCSTR text, LPCSTR caption, UINT type)
{
    std::string title;
    if (caption == nullptr)
    {
        const CWinApp* app = AfxGetApp();
        title = app != nullptr ? app->m_pszAppName
                               : platform::StringTable::Load(57344).value_or(std::string());
        caption = title.c_str();
    }
    return MessageBoxA(m_hWnd, text, caption, type);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return m_hWnd != nullptr ? WindowProc(message, wParam, lParam) : 0;
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_hWnd == nullptr)
        return FALSE;
    platform::MessageQueue::Instance().Post(m_hWnd, message, wParam, lParam);
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return FALSE;
    SendMessage(WM_DESTROY);
    for (CWnd* child : WindowRegistry::Instance().ChildrenOf(this))
        child->DestroyWindow();
    WindowRegistry::Instance().Remove(m_hWnd);
    m_hWnd = nullptr;
    m_bVisible = false;
    // The end of the main window is the end of the application.
    if (CWinApp* app = AfxGetApp(); app != nullptr && app->m_pMainWnd == this)
    {
        PostQuitMessage(0);
        app->m_pMainWnd = nullptr;
    }
    PostNcDestroy(); // may delete this
    return TRUE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wParam), LOWORD(static_cast<std::uintptr_t>(lParam)),
                  HIWORD(static_cast<std::uintptr_t>(lParam)));
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), CPoint(lParam));
        return 0;
    case WM_SHOWWINDOW:
        OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
        return 0;
    case WM_COMMAND:
        if (OnCommand(wParam, lParam))
            return 0;
        break;
    case WM_CLOSE:
        OnClose(); // may delete this
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    default:
        break;
    }
    return DefWindowProc(message, wParam, lParam);
}

int CWnd::OnCreate(LPCREATESTRUCT)
{
    return 0;
}

void CWnd::OnKeyDown(UINT, UINT, UINT) {}

void CWnd::OnLButtonDown(UINT, CPoint) {}

void CWnd::OnShowWindow(BOOL, UINT) {}

BOOL CWnd::OnCommand(WPARAM, LPARAM)
{
    return FALSE;
}

void CWnd::OnClose()
{
    DestroyWindow();
}

void CWnd::OnDestroy() {}

void CWnd::PostNcDestroy() {}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_SETTEXT:
        m_strText = reinterpret_cast<LPCSTR>(lParam);
        return TRUE;
    case WM_SETICON:
    {
        HICON& slot = wParam == ICON_BIG ? m_hBigIcon : m_hSmallIcon;
        const HICON previous = slot;
        slot = reinterpret_cast<HICON>(lParam);
        return reinterpret_cast<LRESULT>(previous);
    }
    default:
        return 0;
    }
}
