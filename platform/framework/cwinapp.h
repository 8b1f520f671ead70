// The framework's application object: exactly one global instance, run by the
// program's entry point (InitInstance, Run, ExitInstance), with the message
// pump and the main-window pointer.
#pragma once

#include "platform/framework/cstring.h"
#include "platform/win32/win32.h"

#include <string>
#include <vector>

class CWnd;

class CWinApp
{
public:
    // No name: the title comes from string resource 57344.
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The three-dimensional dialog look is the only one there is.
    BOOL Enable3dControls() { return TRUE; }

    virtual BOOL InitInstance() { return TRUE; }
    // Pumps messages until the quit message, then returns ExitInstance().
    virtual int Run();
    // Waits for one message, takes and dispatches it; FALSE for the quit message.
    virtual BOOL PumpMessage();
    // The quit message's exit code (0 before there was one).
    virtual int ExitInstance();

    virtual CWnd* GetMainWnd() { return m_pMainWnd; }

    // Null once the main window is destroyed.
    CWnd* m_pMainWnd = nullptr;
    // The message last retrieved or peeked at by the application.
    MSG m_msgCur{};
    LPCSTR m_pszAppName = nullptr;
    // The command line after the program's name, as the entry point got it.
    std::vector<std::string> m_Arguments;

private:
    CString m_strAppName;
};

// The one application object, or null when none exists.
CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
