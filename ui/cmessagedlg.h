// The game's message box: a text under a caption, answered with OK alone or
// with Ja and Nein.
#pragma once

#include "platform/framework/framework.h"

class CMessageDlg : public CDialog
{
public:
    enum
    {
        IDD = 155
    };

    // The modes the game passes to Show; any mode other than a notice asks too.
    enum Mode : int
    {
        MODE_NOTICE = 0,   // OK alone
        MODE_QUESTION = 4, // Ja and Nein
    };

    explicit CMessageDlg(CWnd* pParent = nullptr);

    // IDYES, IDNO, IDOK, IDCANCEL when closed otherwise, or -1 when the dialog
    // could not be created.
    int Show(CString text, CString caption, int mode);

    CString m_strText;
    int m_nMode = MODE_NOTICE;
    CString m_strCaption;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnShowWindow(BOOL bShow, UINT nStatus) override;
};
