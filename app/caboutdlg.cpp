// The info dialog.
#include "app/caboutdlg.h"

#include "app/ccontrolsdlg.h"

namespace
{

constexpr int IDC_ABOUT_OK = 1000;
constexpr int IDC_ABOUT_CONTROLS = 1005;

} // namespace

CAboutDlg::CAboutDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

BOOL CAboutDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam))
    {
    case IDC_ABOUT_OK:
        EndDialog(IDOK);
        return TRUE;
    case IDC_ABOUT_CONTROLS:
    {
        // Modal over this one; the info dialog stays open behind it.
        CControlsDlg controls;
        controls.DoModal();
        return TRUE;
    }
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}
