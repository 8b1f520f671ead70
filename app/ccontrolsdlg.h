// The controls dialog: the keys of the menu and of a game. Only the
// framework's OK and cancel.
#pragma once

#include "platform/framework/framework.h"

class CControlsDlg : public CDialog
{
public:
    enum
    {
        IDD = 132
    };

    explicit CControlsDlg(CWnd* pParent = nullptr);
};
