// The one application object and its message pump.
#include "platform/framework/cwinapp.h"

#include "platform/win32/stringtable.h"

#include <string>

namespace
{

CWinApp* g_pApp = nullptr;

} // namespace

CWinApp::CWinApp(LPCSTR lpszAppName)
    : m_strAppName(lpszAppName != nullptr
                       ? lpszAppName
                       : platform::StringTable::Load(57344).value_or(std::string()).c_str())
{
    m_pszAppName = m_strAppName;
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

int CWinApp::Run()
{
    while (PumpMessage())
    {
    }
    return ExitInstance();
}

BOOL CWinApp::PumpMessage()
{
    if (!GetMessageA(&m_msgCur, nullptr, 0, 0))
        return FALSE;
    TranslateMessage(&m_msgCur);
    DispatchMessageA(&m_msgCur);
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return m_msgCur.message == WM_QUIT ? static_cast<int>(m_msgCur.wParam) : 0;
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

HINSTANCE AfxGetInstanceHandle()
{
    return GetModuleHandleA(nullptr);
}
