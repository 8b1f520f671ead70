// The application object: answers the command line, creates the frame window
// and runs the game's own loop, one message at most and then one frame per pass.
#pragma once

#include "app/settings.h"
#include "platform/framework/framework.h"

class CGameApp : public CWinApp
{
public:
    CGameApp() = default;

    BOOL InitInstance() override;
    // Passes until the quit message; the display's flip paces them.
    int Run() override;
    // One pass: dispatches at most one waiting message, then ticks the frame.
    // False when that message was the quit message.
    bool RunPass();
    // Remembers how the game was shown, then the quit message's exit code;
    // not zero when the start failed (a set-up step asked for the end, another
    // copy holds the folder, an answer could not be written), 2 for a wrong
    // option.
    int ExitInstance() override;

private:
    // --help, --version and a wrong option are answered here (false: do not
    // start the game); the window or full-screen choice is applied and remembered.
    bool ApplyCommandLine();
    void RememberScreenMode();

    bool m_bSilent = false;
    // Set when the program ends before its loop runs.
    int m_nStartExitCode = -1;
    // The loop runs to the end that a failed set-up step asked for.
    bool m_bStartFailed = false;
    std::filesystem::path m_SettingsFile;
    Settings m_Settings;
};
