// The controls dialog.
#include "app/ccontrolsdlg.h"

CControlsDlg::CControlsDlg(CWnd* pParent) : CDialog(IDD, pParent) {}
