// The application's start (frame window, icon, shown) and its loop of one message, then one frame.
#include "app/cgameapp.h"

#include "app/cmainframe.h"
#include "platform/win32/gamepath.h"

namespace
{

constexpr const char* ALREADY_RUNNING_MESSAGE = "TamZelon l\xE4uft bereits in diesem Ordner.";

} // namespace

BOOL CGameApp::InitInstance()
{
    Enable3dControls();

    // Two copies on one table: the one that ends last would overwrite what
    // the other saved, so the second one steps back before reading anything.
    if (!ClaimWorkingFolder())
    {
        MessageBoxA(nullptr, ALREADY_RUNNING_MESSAGE, m_pszAppName, MB_OK);
        return FALSE;
    }

    auto* frame = new CMainFrame;
    m_pMainWnd = frame;
    // The whole set-up, intro included, runs inside this call (WM_CREATE).
    if (!frame->LoadFrame(128, WS_POPUP, nullptr, nullptr))
    {
        // The framework has deleted the frame already.
        m_pMainWnd = nullptr;
        return FALSE;
    }

    frame->SetMenu(nullptr);
    HICON icon = LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(128));
    SendMessageA(frame->m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    return TRUE;
}

int CGameApp::Run()
{
    while (RunPass())
    {
    }
    return ExitInstance();
}

bool CGameApp::RunPass()
{
    if (PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE) && !PumpMessage())
        return false;
    // A window closed by the system is gone by now; the quit message follows.
    if (auto* frame = static_cast<CMainFrame*>(GetMainWnd()))
        frame->Tick();
    return true;
}
