// Moving values between a dialog's members and its controls.
#include "platform/framework/cdataexchange.h"

#include "platform/framework/cwnd.h"

#include <stdexcept>
#include <string>

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    CWnd* control = pDX->m_pDlgWnd != nullptr ? pDX->m_pDlgWnd->GetDlgItem(nIDC) : nullptr;
    if (control == nullptr)
        throw std::invalid_argument("DDX_Text: the dialog has no control " + std::to_string(nIDC));
    if (pDX->m_bSaveAndValidate)
        control->GetWindowText(value);
    else
        control->SetWindowText(value);
}
