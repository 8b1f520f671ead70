// The game's message box.
#include "ui/cmessagedlg.h"

namespace
{

constexpr int IDC_MESSAGE_NO = 3;
constexpr int IDC_MESSAGE_OK = 1006;
constexpr int IDC_MESSAGE_YES = 1007;
constexpr int IDC_MESSAGE_TEXT = 1008;

} // namespace

CMessageDlg::CMessageDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

int CMessageDlg::Show(CString text, CString caption, int mode)
{
    m_strText = text;
    m_strCaption = caption;
    m_nMode = mode;
    return DoModal();
}

void CMessageDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_MESSAGE_TEXT, m_strText);
}

BOOL CMessageDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam))
    {
    case IDC_MESSAGE_YES:
        EndDialog(IDYES);
        return TRUE;
    case IDC_MESSAGE_OK:
        EndDialog(IDOK);
        return TRUE;
    case IDC_MESSAGE_NO:
        EndDialog(IDNO);
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

void CMessageDlg::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CDialog::OnShowWindow(bShow, nStatus);
    SetWindowText(m_strCaption);
    // The template has all three buttons; the mode picks OK or Ja and Nein.
    const bool asks = m_nMode != MODE_NOTICE;
    const int question = asks ? SW_SHOWNORMAL : SW_HIDE;
    const int notice = asks ? SW_HIDE : SW_SHOWNORMAL;
    GetDlgItem(IDC_MESSAGE_NO)->ShowWindow(question);
    GetDlgItem(IDC_MESSAGE_YES)->ShowWindow(question);
    GetDlgItem(IDC_MESSAGE_OK)->ShowWindow(notice);
}
