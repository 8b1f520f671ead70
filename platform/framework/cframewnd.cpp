// Creating the frame window from its resource set, and its default handlers.
#include "platform/framework/cframewnd.h"

#include "platform/framework/cwinapp.h"
#include "platform/gdi/iconimage.h"
#include "platform/present/display.h"
#include "platform/win32/messagequeue.h"
#include "platform/win32/screenmode.h"
#include "platform/win32/stringtable.h"
#include "platform/win32/testseams.h"

#include <string>

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext* pContext)
{
    const std::string title = platform::StringTable::Load(nIDResource).value_or(std::string());
    CreateHandle(pParentWnd, 0, title.c_str(), dwDefaultStyle & ~WS_VISIBLE);
    SetIcon(LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(static_cast<WORD>(nIDResource))),
            TRUE);
    // The keyboard and the mouse of the game's window come to the frame.
    platform::MessageQueue::Instance().SetInputWindow(m_hWnd);

    CREATESTRUCT cs{};
    cs.lpCreateParams = pContext;
    cs.hInstance = AfxGetInstanceHandle();
    cs.hwndParent = pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr;
    cs.cx = platform::kDesktopWidth;
    cs.cy = platform::kDesktopHeight;
    cs.style = static_cast<LONG>(dwDefaultStyle);
    cs.lpszName = title.c_str();
    if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1)
    {
        DestroyWindow(); // deletes this
        return FALSE;
    }
    if ((dwDefaultStyle & WS_VISIBLE) != 0)
        ShowWindow(SW_SHOW);
    return TRUE;
}

BOOL CFrameWnd::SetMenu(CMenu* pMenu)
{
    return pMenu == nullptr ? TRUE : FALSE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (platform::TestSeams::Get().refuseFrameCreation)
        return -1;
    return CWnd::OnCreate(lpCreateStruct);
}

void CFrameWnd::OnDestroy()
{
    platform::MessageQueue::Instance().SetInputWindow(nullptr);
    CWnd::OnDestroy();
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}

LRESULT CFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The window shows one icon: whichever was set last.
    if (message == WM_SETICON)
        if (const auto* icon = platform::IconImage::FromHandle(reinterpret_cast<HICON>(lParam)))
            platform::Display::Instance().SetWindowIcon(icon->Width(), icon->Height(),
                                                        icon->Argb());
    if (message == WM_SYSKEYDOWN && wParam == VK_RETURN)
        platform::Display::Instance().SwitchScreenMode();
    return CWnd::DefWindowProc(message, wParam, lParam);
}
