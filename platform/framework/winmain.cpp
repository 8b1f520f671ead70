// The program's entry point: runs the one application object the way the
// framework does, on the back end the program was built with. The object itself is a global
// of the game.
#include "platform/framework/cwinapp.h"
#include "platform/framework/cwnd.h"
#include "platform/present/display.h"

#include <cstdio>

int main(int argc, char** argv)
{
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
    {
        std::fputs("No application object.\n", stderr);
        return 1;
    }
    if (argc > 1)
        app->m_Arguments.assign(argv + 1, argv + argc);
    platform::Display::Instance().UseBackEnd(platform::MakeBackEnd());
    const int exitCode = app->InitInstance() ? app->Run() : app->ExitInstance();
    // A main window that is still there goes now, so that its destructor
    // releases the display and the sound before the program ends.
    if (CWnd* mainWindow = app->m_pMainWnd)
        mainWindow->DestroyWindow();
    return exitCode;
}
