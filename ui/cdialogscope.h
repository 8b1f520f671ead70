// The bracket around a dialog over the full-screen display: the desktop
// surface made visible and the system cursor shown while the scope lasts, the
// cursor hidden again when it ends.
#pragma once

class CdxScreen;

class CDialogScope
{
public:
    // A screen without a DirectDraw object is not flipped. Which of the two
    // comes first makes no difference to the player.
    explicit CDialogScope(CdxScreen* screen);
    ~CDialogScope();
    CDialogScope(const CDialogScope&) = delete;
    CDialogScope& operator=(const CDialogScope&) = delete;
};
