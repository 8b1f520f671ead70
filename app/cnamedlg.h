// The name for a new high-score line, at most 10 characters.
#pragma once

#include "platform/framework/framework.h"

class CNameDlg : public CDialog
{
public:
    enum
    {
        IDD = 131
    };

    static constexpr int MAX_NAME = 10;

    explicit CNameDlg(CWnd* pParent = nullptr);

    // Empty when the dialog was closed without OK.
    CString GetName() const { return m_strName; }

    CString m_strName;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
};
