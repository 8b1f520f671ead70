// The info dialog: what the game is about and how it scores; its second
// button opens the controls dialog on top of it.
#pragma once

#include "platform/framework/framework.h"

class CAboutDlg : public CDialog
{
public:
    enum
    {
        IDD = 130
    };

    explicit CAboutDlg(CWnd* pParent = nullptr);

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
};
