// The name dialog.
#include "app/cnamedlg.h"

namespace
{

constexpr int IDC_NAME_EDIT = 1002;
constexpr int IDC_NAME_OK = 1003;

} // namespace

CNameDlg::CNameDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

void CNameDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_NAME_EDIT, m_strName);
}

BOOL CNameDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) != IDC_NAME_OK)
        return CDialog::OnCommand(wParam, lParam);
    // The field takes any length; the table keeps ten characters.
    UpdateData(TRUE);
    m_strName = m_strName.Left(MAX_NAME);
    EndDialog(IDOK);
    return TRUE;
}
