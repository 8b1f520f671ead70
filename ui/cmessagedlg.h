// The game's message box: a text under a caption, answered with OK alone
// (mode 0) or with Ja and Nein (any other mode).
#pragma once

#include "platform/framework/framework.h"

class CMessageDlg : public CDialog
{
public:
    enum
    {
        IDD = 155
    };

    explicit CMessageDlg(CWnd* pParent = nullptr);

    // IDYES, IDNO, IDOK, IDCANCEL when closed otherwise, or -1 when the dialog
    // could not be created.
    int Show(CString text, CString caption, int mode);

    CString m_strText;
    int m_nMode = 0;
    CString m_strCaption;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnShowWindow(BOOL bShow, UINT nStatus) override;
};
