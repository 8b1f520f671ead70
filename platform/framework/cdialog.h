// The framework's modal dialog, built from a dialog template of the program's
// resources and drawn in the game's window over the picture shown before it.
// Derived dialogs override OnInitDialog, DoDataExchange and OnCommand (by the
// control id in LOWORD(wParam)), and call the base versions for the rest.
#pragma once

#include "platform/framework/cdataexchange.h"
#include "platform/framework/cwnd.h"

namespace platform
{
class DialogWindow;
}

class CDialog : public CWnd
{
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Runs the dialog until EndDialog; returns its result, or -1 when the
    // template is missing or damaged.
    virtual int DoModal();
    // Ends the modal loop after the current handler with that result.
    void EndDialog(int nResult);

    // WM_INITDIALOG: fills the controls (UpdateData(FALSE)); TRUE.
    virtual BOOL OnInitDialog();
    // TRUE: controls -> members; FALSE: members -> controls.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    // UpdateData(TRUE), then EndDialog(IDOK).
    virtual void OnOK();
    // EndDialog(IDCANCEL).
    virtual void OnCancel();
    // IDOK -> OnOK, IDCANCEL -> OnCancel (Escape and the close box send
    // IDCANCEL); other ids are not handled here.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void RunModalLoop();
    void AnswerHeadless();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    int m_nModalResult = -1;
    bool m_bEnded = false;
    platform::DialogWindow* m_pDialogWindow = nullptr; // while DoModal runs
};
