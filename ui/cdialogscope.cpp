// Shows the cursor and the desktop surface for a dialog, and hides the cursor after it.
#include "ui/cdialogscope.h"

#include "display/cdxscreen.h"
#include "platform/win32/win32.h"

CDialogScope::CDialogScope(CdxScreen* screen)
{
    if (screen && screen->m_pDirectDraw)
        screen->m_pDirectDraw->FlipToGDISurface();
    ShowCursor(TRUE);
}

CDialogScope::~CDialogScope()
{
    // The next frame's flip shows the game again.
    ShowCursor(FALSE);
}
