// The application's start (command line, frame window, icon, shown), its loop of one
// message, then one frame, and its end.
#include "app/cgameapp.h"

#include "app/cmainframe.h"
#include "app/commandline.h"
#include "app/printable.h"
#include "platform/win32/screenmode.h"
#include "platform/win32/workingfolder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

namespace
{

// A start that failed, after it told why.
constexpr int EXIT_NOT_STARTED = 1;
constexpr int EXIT_USAGE = 2;
constexpr const char* ALREADY_RUNNING_MESSAGE = "TamZelon l\xE4uft bereits in diesem Ordner.";

// The answer to --help or --version; false, told on standard error, when it
// did not reach standard output.
bool Answer(const std::string& text)
{
    if (std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0)
        return true;
    std::fprintf(stderr, "tamzelon: cannot write to standard output: %s\n", std::strerror(errno));
    return false;
}

} // namespace

BOOL CGameApp::InitInstance()
{
    if (!ApplyCommandLine())
        return FALSE;

    Enable3dControls();

    // Two copies on one table: the one that ends last would overwrite what
    // the other saved, so the second one steps back before reading anything
    // and writes nothing.
    if (!ClaimWorkingFolder())
    {
        MessageBoxA(nullptr, ALREADY_RUNNING_MESSAGE, m_pszAppName, MB_OK);
        m_nStartExitCode = EXIT_NOT_STARTED;
        return FALSE;
    }
    // Once this copy may run, and already now, so that the choice outlives a
    // game that does not end well.
    RememberScreenMode();

    auto* frame = new CMainFrame(m_bSilent);
    m_pMainWnd = frame;
    // The whole set-up, intro included, runs inside this call (WM_CREATE).
    if (!frame->LoadFrame(128, WS_POPUP, nullptr, nullptr))
    {
        // The framework has deleted the frame already.
        m_pMainWnd = nullptr;
        m_nStartExitCode = EXIT_NOT_STARTED;
        return FALSE;
    }

    frame->SetMenu(nullptr);
    HICON icon = LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(128));
    SendMessageA(frame->m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    // A set-up step that failed has told the player and asked for the end;
    // the loop still runs to it, but the program did not start.
    MSG quit;
    m_bStartFailed = PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
    return TRUE;
}

bool CGameApp::ApplyCommandLine()
{
    const CommandLine line = CommandLine::Parse(m_Arguments);
    switch (line.action)
    {
    case CommandLine::Action::Help:
    case CommandLine::Action::Version:
        m_nStartExitCode =
            Answer(line.action == CommandLine::Action::Help ? HelpText() : VersionText())
                ? 0
                : EXIT_NOT_STARTED;
        return false;
    case CommandLine::Action::Usage:
        std::fprintf(stderr, "tamzelon: unknown option %s\n%s", Printable(line.wrong).c_str(),
                     UsageText().c_str());
        m_nStartExitCode = EXIT_USAGE;
        return false;
    case CommandLine::Action::Play:
        break;
    }

    m_bSilent = line.silent;
    m_SettingsFile = Settings::File();
    if (!m_SettingsFile.empty())
        m_Settings = Settings::Load(m_SettingsFile, std::cerr);
    const bool window = line.window.value_or(m_Settings.window);
    platform::SetScreenMode(window ? platform::ScreenMode::Window
                                   : platform::ScreenMode::FullScreen);
    return true;
}

void CGameApp::RememberScreenMode()
{
    const bool window = platform::GetScreenMode() == platform::ScreenMode::Window;
    if (window == m_Settings.window || m_SettingsFile.empty())
        return;
    m_Settings.window = window;
    m_Settings.Save(m_SettingsFile, std::cerr);
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

int CGameApp::ExitInstance()
{
    // A copy that never ran has nothing to remember.
    if (m_nStartExitCode >= 0)
        return m_nStartExitCode;
    RememberScreenMode();
    const int exitCode = CWinApp::ExitInstance();
    return m_bStartFailed ? EXIT_NOT_STARTED : exitCode;
}
