// The framework's dialog data exchange: moves values between a dialog's
// members and its controls, in the direction UpdateData asks for.
#pragma once

#include "platform/framework/cstring.h"
#include "platform/win32/win32.h"

class CWnd;

class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
    {
    }

    BOOL m_bSaveAndValidate; // TRUE: controls -> members
    CWnd* m_pDlgWnd;
};

// A control's text and a string member. A control id the dialog does not have
// is a programming error and raises std::invalid_argument.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
