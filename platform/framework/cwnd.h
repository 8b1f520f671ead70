// The framework's window: a handle in the window registry, its text, icon and
// visibility, and the routing of window messages to overridable handlers.
// Each base handler does the default handling, so a derived handler passes a
// message on by calling the base class's handler.
#pragma once

#include "platform/framework/cpoint.h"
#include "platform/framework/cstring.h"
#include "platform/win32/win32.h"

class CMenu;

class CWnd
{
public:
    CWnd();
    // A window still existing here goes away without further messages.
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    // The object behind a handle; null for no window or a destroyed one.
    static CWnd* FromHandle(HWND window);

    // SW_HIDE, SW_SHOW or SW_SHOWNORMAL; returns whether the window was visible.
    // A change of visibility sends WM_SHOWWINDOW.
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const { return m_bVisible ? TRUE : FALSE; }
    // The picture comes from the display's flips; there is nothing to repaint.
    void UpdateWindow() {}

    void SetWindowText(LPCSTR text);
    void GetWindowText(CString& text) const { text = m_strText; }
    CString GetWindowText() const { return m_strText; }

    // The child window with that control id, or null.
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const { return m_nID; }
    DWORD GetStyle() const { return m_dwStyle; }
    CWnd* GetParent() const { return m_pParent; }

    HICON SetIcon(HICON icon, BOOL bigIcon);
    HICON GetIcon(BOOL bigIcon) const { return bigIcon ? m_hBigIcon : m_hSmallIcon; }

    // A message box owned by this window; no caption gives the application title.
    int MessageBox(LPCSTR text, LPCSTR caption = nullptr, UINT type = MB_OK);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // WM_DESTROY, then the children, then the handle; the window of the
    // application's main window also posts the quit message. PostNcDestroy
    // comes last (a frame deletes itself there).
    virtual BOOL DestroyWindow();

    // The window procedure: routes each message to its handler below.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // Gives the object a handle (hidden), as a child of parent when given.
    void CreateHandle(CWnd* parent, int nID, LPCSTR text, DWORD style);

    virtual int OnCreate(LPCREATESTRUCT lpCreateStruct);           // 0: go on; -1: fail
    virtual void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags); // nothing
    virtual void OnLButtonDown(UINT nFlags, CPoint point);         // nothing
    virtual void OnShowWindow(BOOL bShow, UINT nStatus);           // nothing
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);          // FALSE: not handled
    virtual void OnClose();                                        // DestroyWindow
    virtual void OnDestroy();                                      // nothing
    virtual void PostNcDestroy();                                  // nothing
    // What happens to a message no handler takes (WM_SETICON, WM_SETTEXT).
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    DWORD m_dwStyle = 0;

private:
    CString m_strText;
    CWnd* m_pParent = nullptr;
    int m_nID = 0;
    bool m_bVisible = false;
    HICON m_hSmallIcon = nullptr;
    HICON m_hBigIcon = nullptr;
};
